#include "file_splitter/MainDlg.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "file_splitter/PieceFiles.h"
#include "file_splitter/Resource.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/base/File.h"

using wb::gui::MsgKind;
using wb::gui::Notify;

namespace parvex {

namespace {

constexpr int kPresetIds[] = {IDC_PRESET_100K, IDC_PRESET_500K, IDC_PRESET_1M, IDC_PRESET_125M};

const char kMissingStatus[] = "File(s) Missing.Cannot build original file.";
const char kDamagedStatus[] = "File(s) damaged.Cannot build original file.";

// Numbers are shown and read the same way whatever the user's locale, as the
// dialog's texts are fixed.
std::string FormatKilobytes(uint64_t bytes) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(bytes) / 1024.0,
                           std::chars_format::fixed, 2);
    std::string text(buf, r.ptr);
    if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
    return text + " KB";
}

std::string FormatReal(double value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// For a decimal number too large or too small for a double: true when its
// magnitude is above 1 (it overflowed), false when it underflowed.
bool Overflowed(const char* first, const char* last) {
    long magnitude = 0;
    bool seenNonZero = false, afterPoint = false;
    const char* p = first;
    for (; p < last && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') { afterPoint = true; continue; }
        if (!seenNonZero && *p != '0') seenNonZero = true;
        if (!afterPoint && seenNonZero) ++magnitude;
        if (afterPoint && !seenNonZero) --magnitude;
    }
    long exponent = 0;
    if (p < last) {
        ++p;
        bool negative = p < last && *p == '-';
        if (p < last && (*p == '-' || *p == '+')) ++p;
        for (; p < last && exponent < 100000; ++p) exponent = exponent * 10 + (*p - '0');
        if (negative) exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

// Reads the decimal number at the start of text, after blanks. Returns how
// many characters it took (0 when there is no number, and value is then 0).
size_t ParseReal(const std::string& text, double& value) {
    value = 0.0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* p = begin;
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p < end && (*p == '+' || *p == '-')) return 0;
    double parsed = 0.0;
    auto r = std::from_chars(p, end, parsed, std::chars_format::general);
    if (r.ptr == p) return 0;
    if (r.ec == std::errc::result_out_of_range)
        parsed = Overflowed(p, r.ptr) ? std::numeric_limits<double>::infinity() : 0.0;
    value = negative ? -parsed : parsed;
    return static_cast<size_t>(r.ptr - begin);
}

// floor(kilobytes * 1024) as a byte count. A count that no file can be split
// into (negative, huge, infinite) becomes the largest one, which the size
// check refuses; text that is no number gives 0.
uint64_t KilobytesToBytes(double kilobytes) {
    if (std::isnan(kilobytes)) return 0;
    const double bytes = std::floor(kilobytes * 1024.0);
    if (bytes == 0.0) return 0;
    if (bytes < 0.0 || bytes >= 18446744073709551616.0) return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(bytes);
}

std::string MissingMessage(uint64_t missing, const std::string& outputName) {
    return std::to_string(missing) + " file(s) not found in the directory of " + outputName +
           "\n Cannot complete the joining process.Try to copy all splitted files in \n"
           " same directory and Press CHECK FILES ";
}

// A split or a join keeps the window served and takes no other action
// until it ends, failed or not.
class LongWork {
public:
    LongWork(wb::gui::DialogHost& host, CopyEvents& events) : host_(host) {
        events.serve = [&host] { host.ServeWindow(); };
        host_.BeginLongWork();
    }
    ~LongWork() { host_.EndLongWork(); }
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

private:
    wb::gui::DialogHost& host_;
};

} // namespace

struct CMainDlg::Preset {
    int id;
    bool CMainDlg::*lastFlag;
    uint64_t bytes;
    double kilobytes;
};

struct CMainDlg::Checker {
    const char* cannotOpenText;
    bool setsOutputName;
    bool setsRecheck;        // enables "Re Check" on missing pieces, disables it when all are found
    const char* readyStatus;
    const char* readyMessage;  // plain message when all are found, or null
};

const CMainDlg::MessageMapEntry CMainDlg::kMessageMap[] = {
    {IDC_SPLIT_BROWSE, Notify::Clicked, &CMainDlg::OnBrowseSplit},
    {IDC_PRESET_100K, Notify::Clicked, &CMainDlg::OnPreset100K},
    {IDC_PRESET_500K, Notify::Clicked, &CMainDlg::OnPreset500K},
    {IDC_PRESET_1M, Notify::Clicked, &CMainDlg::OnPreset1M},
    {IDC_PRESET_125M, Notify::Clicked, &CMainDlg::OnPreset125M},
    {IDC_SPECIFY, Notify::Clicked, &CMainDlg::OnSpecify},
    {IDC_KILOBYTES, Notify::Changed, &CMainDlg::OnChangeKilobytes},
    {IDC_SPLIT_OUTPUT, Notify::Changed, &CMainDlg::OnChangeOutputName},
    {IDC_BREAK_IT, Notify::Clicked, &CMainDlg::OnBreakIt},
    {IDC_JOIN_BROWSE, Notify::Clicked, &CMainDlg::OnBrowseJoin},
    {IDC_RECHECK, Notify::Clicked, &CMainDlg::OnRecheck},
    {IDC_ASSEMBLE, Notify::Clicked, &CMainDlg::OnAssemble},
    {IDC_ABOUT, Notify::Clicked, &CMainDlg::OnAbout},
    {IDC_EXIT, Notify::Clicked, &CMainDlg::OnExit},
    {IDC_HELP_BUTTON, Notify::Clicked, &CMainDlg::OnHelpButton},
    {IDC_LINK, Notify::Clicked, &CMainDlg::OnLink},
    {IDC_CONTEXT_MENU_SETTINGS, Notify::Clicked, &CMainDlg::OnContextMenuSettings},
    {wb::gui::kIdOk, Notify::Clicked, &CMainDlg::OnOK},
    {wb::gui::kIdCancel, Notify::Clicked, &CMainDlg::OnCancel},
    {0, Notify::Clicked, nullptr},
};

const CMainDlg::Preset CMainDlg::kPresets[4] = {
    {IDC_PRESET_100K, &CMainDlg::m_bLast100K, 102400, 100.0},
    {IDC_PRESET_500K, &CMainDlg::m_bLast500K, 512000, 500.0},
    {IDC_PRESET_1M, &CMainDlg::m_bLast1M, 1048576, 1024.0},
    {IDC_PRESET_125M, &CMainDlg::m_bLast125M, 1310720, 1280.0},
};

CMainDlg::CMainDlg(wb::gui::DialogHost& host) : m_host(host) {
    m_host.SetCommandHandler([this](int id, Notify code) { OnCommand(id, code); });
}

CMainDlg::~CMainDlg() { m_host.SetCommandHandler(nullptr); }

int CMainDlg::LastPresetId() const {
    for (const Preset& p : kPresets)
        if (this->*(p.lastFlag)) return p.id;
    return 0;
}

void CMainDlg::OnCommand(int id, Notify code) {
    for (const MessageMapEntry* e = kMessageMap; e->handler; ++e) {
        if (e->id == id && e->code == code) {
            (this->*(e->handler))();
            return;
        }
    }
}

bool CMainDlg::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        m_host.CheckItem(IDC_SPECIFY, m_bSpecify);
        // Rewriting the same text would still notify a change.
        const std::string text = FormatReal(m_dPresetKB);
        if (m_host.GetItemText(IDC_KILOBYTES) != text) m_host.SetItemText(IDC_KILOBYTES, text);
        return true;
    }
    m_bSpecify = m_host.IsItemChecked(IDC_SPECIFY);
    const std::string text = m_host.GetItemText(IDC_KILOBYTES);
    double value = 0.0;
    size_t used = ParseReal(text, value);
    bool number = used > 0;
    while (number && used < text.size() && IsBlank(text[used])) ++used;
    if (!number || used != text.size()) {
        m_host.MessageBox("Please enter a number.", MsgKind::Warning);
        return false;
    }
    m_dPresetKB = value;
    return true;
}

// --- SPLIT panel ------------------------------------------------------------

void CMainDlg::EnablePresetsBySize() {
    for (int i = 0; i < 4; ++i)
        m_host.EnableItem(kPresets[i].id, m_nFileSize > kPresets[i].bytes);
}

void CMainDlg::SetPieceCount(int64_t count) {
    m_nPieceCount = count;
    m_host.SetItemText(IDC_SPLIT_COUNT, std::to_string(count));
}

std::optional<std::string> CMainDlg::BrowsePath(const char* initialName) {
    if (m_bCommandLine) {
        m_bCommandLine = false;
        return m_strCommandLinePath;
    }
    wb::gui::OpenFileOptions options;
    options.defaultExt = "*";
    options.initialName = initialName;
    return m_host.OpenFileDialog(options);
}

void CMainDlg::OnBrowseSplit() {
    auto chosen = BrowsePath("*.*");
    if (!chosen) return;
    const std::string path = *chosen;
    ResetSplitPanel();
    m_strSourcePath = path;
    m_host.SetItemText(IDC_SOURCE_PATH, path);

    wb::File file;
    try {
        file.Open(path, wb::File::Mode::ReadDocument);
    } catch (const wb::IoError& e) {
        // A FIFO or a device would be read for ever; the user is told why.
        if (wb::IsSpecialFile(path)) m_host.MessageBox(e.what(), MsgKind::Warning);
        m_host.SetItemText(IDC_SPLIT_OUTPUT, "");
        m_host.EnableItem(IDC_SPLIT_OUTPUT, false);
        m_host.EnableItem(IDC_SPECIFY, true);
        for (int id : kPresetIds) m_host.EnableItem(id, false);
        m_host.EnableItem(IDC_KILOBYTES, true);
        m_nFileSize = m_nPieceSize = 0;
        m_host.SetItemText(IDC_SOURCE_SIZE, "0");
        m_host.SetItemText(IDC_KILOBYTES, "0");
        UpdateData(false);
        return;
    }
    m_nFileSize = static_cast<uint64_t>(file.Size());
    if (m_nFileSize < kMinSplitSize) {
        ResetSplitPanel();
        m_host.MessageBox("Cannot Split file having size less than 4KB (4096 bytes)", MsgKind::Warning);
        return;
    }
    m_host.EnableItem(IDC_SPECIFY, true);
    m_host.EnableItem(IDC_SPLIT_OUTPUT, true);
    m_host.SetItemText(IDC_SPLIT_OUTPUT, DefaultSplitOutputName(path));
    m_host.SetItemText(IDC_SOURCE_SIZE, FormatKilobytes(m_nFileSize));
    EnablePresetsBySize();
    if (m_nFileSize < kPresets[0].bytes) {
        m_bSpecify = true;
        m_host.EnableItem(IDC_KILOBYTES, true);
        m_host.EnableItem(IDC_SPECIFY, false);
    }
    if (m_bSpecify) {
        for (int id : kPresetIds) m_host.EnableItem(id, false);
        m_host.EnableItem(IDC_KILOBYTES, true);
    }
    file.Close();
    m_host.SetItemText(IDC_SPLIT_STATUS, "Click on BREAK IT to split the file");
    UpdateData(false);

    if (m_bLast100K && m_host.IsItemEnabled(IDC_PRESET_100K)) OnPreset100K();
    else if (m_bLast500K && m_host.IsItemEnabled(IDC_PRESET_500K)) OnPreset500K();
    else if (m_bLast1M && m_host.IsItemEnabled(IDC_PRESET_1M)) OnPreset1M();
    else if (m_bLast125M && m_host.IsItemEnabled(IDC_PRESET_125M)) OnPreset125M();
}

void CMainDlg::ChoosePreset(const Preset& preset) {
    for (int i = 0; i < 4; ++i) this->*(kPresets[i].lastFlag) = false;
    this->*(preset.lastFlag) = true;
    m_nPresetBytes = m_nPieceSize = preset.bytes;
    m_dPresetKB = preset.kilobytes;
    m_bSpecify = false;
    UpdateData(false);
    SetPieceCount(static_cast<int64_t>(PieceCount(m_nFileSize, m_nPieceSize)));
    m_host.EnableItem(IDC_BREAK_IT, true);
    UpdateData(false);
    m_host.EnableItem(IDC_KILOBYTES, false);
}

void CMainDlg::OnPreset100K() { ChoosePreset(kPresets[0]); }
void CMainDlg::OnPreset500K() { ChoosePreset(kPresets[1]); }
void CMainDlg::OnPreset1M() { ChoosePreset(kPresets[2]); }
void CMainDlg::OnPreset125M() { ChoosePreset(kPresets[3]); }

void CMainDlg::OnChangeKilobytes() {
    const std::string text = m_host.GetItemText(IDC_KILOBYTES);
    if (text.empty()) return;
    double kilobytes = 0.0;
    ParseReal(text, kilobytes);
    m_nPieceSize = KilobytesToBytes(kilobytes);
    m_host.EnableItem(IDC_BREAK_IT, m_nPieceSize != 0);
    if (m_nPieceSize == 0) {
        SetPieceCount(0);
    } else if (m_nPieceSize >= m_nFileSize) {
        m_host.MessageBox("Specified filesize should be less than original filesize shouldnt it?",
                          MsgKind::Warning);
        m_host.SetItemText(IDC_KILOBYTES, "0");
        m_nPieceSize = 0;
        m_nPieceCount = 0;
    } else {
        SetPieceCount(static_cast<int64_t>(PieceCount(m_nFileSize, m_nPieceSize)));
    }
}

void CMainDlg::OnSpecify() {
    m_bSpecify = !m_bSpecify;
    if (m_bSpecify) {
        for (int id : kPresetIds) m_host.EnableItem(id, false);
        m_host.EnableItem(IDC_KILOBYTES, true);
        return;
    }
    EnablePresetsBySize();
    m_host.EnableItem(IDC_KILOBYTES, false);
    if (m_nFileSize >= m_nPresetBytes) {
        m_nPieceSize = m_nPresetBytes;
        m_host.SetItemText(IDC_KILOBYTES, std::to_string(m_nPresetBytes / 1024));
    }
}

void CMainDlg::OnChangeOutputName() { m_strOutputName = m_host.GetItemText(IDC_SPLIT_OUTPUT); }

void CMainDlg::OnBreakIt() {
    if (m_nPieceSize < kMinSplitSize) {
        m_host.MessageBox("Specified Size must be greater than 4K", MsgKind::Warning);
        return;
    }
    const uint64_t count = PieceCount(m_nFileSize, m_nPieceSize);
    if (count > kMaxPieces) {
        m_host.MessageBox("Number of Output files shouldnt exceed 100", MsgKind::Warning);
        return;
    }
    m_host.SetProgressRange(IDC_SPLIT_PROGRESS, 0, 100);
    m_host.SetProgressPos(IDC_SPLIT_PROGRESS, 0);
    // Without a '.' in the file name the further pieces would have no name.
    if (!HasPieceExtension(m_strOutputName) || !PieceBase(m_strOutputName)) {
        m_host.MessageBox("Invalid File Extension.Please make it .Brk", MsgKind::Warning);
        return;
    }

    SplitRequest request{m_strSourcePath, m_strOutputName, m_nFileSize, m_nPieceSize};
    SplitProgress progress(count, m_nPieceSize);
    CopyEvents events;
    events.started = [&] { m_host.SetProgressPos(IDC_SPLIT_PROGRESS, progress.First()); };
    events.block = [&] {
        if (auto pos = progress.Block()) m_host.SetProgressPos(IDC_SPLIT_PROGRESS, *pos);
    };
    try {
        LongWork work(m_host, events);
        SplitFile(request, events);
    } catch (const PieceError& e) {
        std::string text;
        switch (e.GetKind()) {
            case PieceError::Kind::SourceNotFound: text = "Selected File not found"; break;
            case PieceError::Kind::CannotCreate:
                text = "Failed to create output files.\nSelected Output path doesnot exists\n"
                       "or Disc is write protected";
                break;
            case PieceError::Kind::SourceChanged:
                text = "The size of the selected file has changed since it was chosen.\n"
                       "Please browse for it again.";
                break;
            case PieceError::Kind::SameAsSource:
                text = "The output file " + e.File() +
                       " would overwrite the selected file.\nPlease choose another output filename.";
                break;
            default: text = std::string("Splitting failed. Nothing was written.\n") + e.what(); break;
        }
        m_host.SetProgressPos(IDC_SPLIT_PROGRESS, 0);
        m_host.MessageBox(text, MsgKind::Error);
        return;
    }
    m_host.SetProgressPos(IDC_SPLIT_PROGRESS, 100);
    m_host.MessageBox(m_strSourcePath + " splitted sucessfully into " + std::to_string(count) +
                          " parts (files). ",
                      MsgKind::Plain);
    m_host.SetProgressPos(IDC_SPLIT_PROGRESS, 0);
    ResetSplitPanel();
}

void CMainDlg::ResetSplitPanel() {
    m_bSpecify = false;
    for (int id : {IDC_SPLIT_OUTPUT, IDC_BREAK_IT, IDC_KILOBYTES}) m_host.EnableItem(id, false);
    for (int id : kPresetIds) m_host.EnableItem(id, false);
    m_host.EnableItem(IDC_SPECIFY, false);
    m_host.SetItemText(IDC_SPLIT_COUNT, "");
    m_host.SetItemText(IDC_SPLIT_STATUS, "");
    m_nFileSize = m_nPieceSize = 0;
    m_host.SetItemText(IDC_KILOBYTES, "0");
    m_host.SetItemText(IDC_SOURCE_PATH, "");
    m_host.SetItemText(IDC_SOURCE_SIZE, "0");
}

// --- JOIN panel -------------------------------------------------------------

bool CMainDlg::LoadFirstPiece(const char* cannotOpenText, FirstPiece& piece) {
    m_host.SetItemText(IDC_PIECE_PATH, m_strPiecePath);
    switch (ReadFirstPiece(m_strPiecePath, piece)) {
        case FirstPieceStatus::Ok: return true;
        case FirstPieceStatus::CannotOpen:
            m_host.MessageBox(cannotOpenText, MsgKind::Warning);
            return false;
        case FirstPieceStatus::BadFormat:
            m_host.MessageBox("Invalid file Format", MsgKind::Warning);
            m_host.SetItemText(IDC_JOIN_STATUS, "Invalid File Format.");
            return false;
    }
    return false;
}

void CMainDlg::ShowMissing(uint64_t count, uint64_t missing, const std::string& outputName) {
    m_host.MessageBox(MissingMessage(missing, outputName), MsgKind::Warning);
    m_host.SetItemText(IDC_JOIN_COUNT, std::to_string(count));
    m_host.SetItemText(IDC_JOIN_FOUND, std::to_string(count - missing));
    m_host.SetItemText(IDC_JOIN_STATUS, kMissingStatus);
}

bool CMainDlg::CheckPiecesWith(const Checker& checker) {
    FirstPiece first;
    if (!LoadFirstPiece(checker.cannotOpenText, first)) return false;
    if (checker.setsOutputName) m_host.SetItemText(IDC_JOIN_OUTPUT, first.names.output);
    const PieceSurvey survey = SurveyPieces(first);
    const uint64_t count = first.Count();

    if (survey.missing > 0 || survey.damaged > 0) {
        m_host.SetItemText(IDC_JOINED_SIZE, "");
        m_host.SetItemText(IDC_FIRST_PIECE_SIZE, "");
        m_host.EnableItem(IDC_ASSEMBLE, false);
        if (survey.missing > 0) {
            ShowMissing(count, survey.missing, first.names.output);
        } else {
            m_host.MessageBox("File " + survey.firstDamaged + " " + survey.firstProblem +
                                  ".\nCannot build original file.",
                              MsgKind::Warning);
            m_host.SetItemText(IDC_JOIN_COUNT, std::to_string(count));
            m_host.SetItemText(IDC_JOIN_FOUND, std::to_string(count));
            m_host.SetItemText(IDC_JOIN_STATUS, kDamagedStatus);
        }
        m_host.EnableItem(IDC_JOIN_OUTPUT, false);
        if (checker.setsRecheck) m_host.EnableItem(IDC_RECHECK, true);
        return false;
    }

    m_host.SetItemText(IDC_JOINED_SIZE, FormatKilobytes(survey.total - kHeaderSize));
    m_host.SetItemText(IDC_FIRST_PIECE_SIZE, FormatKilobytes(first.length));
    m_host.EnableItem(IDC_JOIN_OUTPUT, true);
    m_host.SetItemText(IDC_JOIN_COUNT, std::to_string(count));
    m_host.SetItemText(IDC_JOIN_FOUND, std::to_string(count));
    m_host.SetItemText(IDC_JOIN_STATUS, checker.readyStatus);
    m_host.EnableItem(IDC_ASSEMBLE, true);
    if (checker.setsRecheck) m_host.EnableItem(IDC_RECHECK, false);
    if (checker.readyMessage) m_host.MessageBox(checker.readyMessage, MsgKind::Plain);
    return true;
}

void CMainDlg::OnBrowseJoin() {
    auto chosen = BrowsePath("*.brk");
    if (!chosen) return;
    m_strPiecePath = *chosen;
    static const Checker browse{"Invalid file format", true, true,
                                "Click on \"Assemble the File !!!!\"", nullptr};
    CheckPiecesWith(browse);
}

void CMainDlg::OnRecheck() {
    static const Checker recheck{
        "File not found", false, false, "Click on Assemble the File !!!!",
        "All files found.Click on \"Assemble the File !!!!\" to join the files"};
    CheckPiecesWith(recheck);
}

bool CMainDlg::CheckPieces() {
    static const Checker check{"File not found", false, false,
                               "Click on \"Assemble the file !!!!\"", nullptr};
    return CheckPiecesWith(check);
}

void CMainDlg::OnAssemble() {
    if (!CheckPieces()) {
        m_host.EnableItem(IDC_RECHECK, true);
        return;
    }
    m_host.SetProgressRange(IDC_JOIN_PROGRESS, 0, 100);
    m_host.SetProgressPos(IDC_JOIN_PROGRESS, 0);
    FirstPiece first;
    if (!LoadFirstPiece("File not found", first)) return;
    const std::string outputName = m_host.GetItemText(IDC_JOIN_OUTPUT);

    JoinProgress progress(first.Count(), first.length);
    CopyEvents events;
    events.block = [&] {
        if (auto pos = progress.Block()) m_host.SetProgressPos(IDC_JOIN_PROGRESS, *pos);
    };
    uint64_t missing = 0;
    try {
        LongWork work(m_host, events);
        missing = AssemblePieces(first, outputName, events);
    } catch (const PieceError& e) {
        m_host.SetProgressPos(IDC_JOIN_PROGRESS, 0);
        switch (e.GetKind()) {
            case PieceError::Kind::CannotCreate:
                m_host.MessageBox("Invalid Output Path", MsgKind::Warning);
                break;
            case PieceError::Kind::OutputIsPiece:
                m_host.MessageBox("The output file would overwrite the piece " + e.File() +
                                      ".\nPlease choose another output filename.",
                                  MsgKind::Error);
                break;
            case PieceError::Kind::WrongSize:
                m_host.MessageBox("File " + e.File() +
                                      " has changed or has the wrong size.\nCannot build original file.",
                                  MsgKind::Error);
                break;
            default:
                m_host.MessageBox(std::string("Joining failed. Nothing was written.\n") + e.what(),
                                  MsgKind::Error);
                break;
        }
        return;
    }
    if (missing == 0) {
        m_host.EnableItem(IDC_RECHECK, false);
        m_host.SetProgressPos(IDC_JOIN_PROGRESS, 100);
        m_host.MessageBox("File successfully Re-assembled", MsgKind::Plain);
        m_host.SetProgressPos(IDC_JOIN_PROGRESS, 0);
    } else {
        m_host.EnableItem(IDC_RECHECK, true);
        ShowMissing(first.Count(), missing, first.names.output);
        m_host.SetProgressPos(IDC_JOIN_PROGRESS, 0);
    }
}

} // namespace parvex
