#include "tag_editor/windows/CddbStat.h"

#include "platform/gui/MessageBox.h"
#include "platform/base/TextUtil.h"

using namespace wb::gui;

namespace velmora {

namespace {
constexpr TColor kHeaderColor = 0x00A4E8F9;
constexpr TColor kDataText = 0x00FF0000;
constexpr TColor kNoText = 0x000000FF;
constexpr int kOk = 1, kCancel = 2;

// The port of PortEdit, 0 when it is none.
uint16_t PortNumber(const std::string& text) {
    std::string t = wb::Trim(text);
    if (t.empty() || t.size() > 5) return 0;
    long value = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value > 0 && value <= 65535 ? static_cast<uint16_t>(value) : 0;
}
} // namespace

TCddbStatFrm::TCddbStatFrm(TCddbRequests& requests, TCddbServer server, TCddbSettings settings,
                           TChooseFrm& chooser, wb::Component* owner)
    : Form(owner, FormKind::Dialog),
      GroupBox1(*this, "GroupBox1", "TCP-log :"),
      TCPStateMemo(*GroupBox1, "TCPStateMemo"),
      Label1(*this, "Label1", "Send requests :"),
      Label2(*this, "Label2", "Received data :"),
      Label3(*this, "Label3", "Received data :"),
      ReqSendPanel(*this, "ReqSendPanel", "0"),
      ReqRecPanel(*this, "ReqRecPanel", "0"),
      RecGrd(*this, "RecGrd"),
      OkBtn(*this, "OkBtn", "OK"),
      CancelBtn(*this, "CancelBtn", "&Cancel"),
      Timer1(this),
      server_(std::move(server)),
      chooser_(chooser),
      TCP(wb::net::MakeClientSocket()),
      client_(requests, [&] {
          settings.Host = server_.Url;
          return std::move(settings);
      }(), *this) {
    SetName("CddbStatFrm");
    SetCaption("Status of CDDB-request");
    SetClientSize(520, 452);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);

    GroupBox1->SetBounds(8, 8, 504, 200);
    TCPStateMemo->SetBounds(10, 20, 484, 170);
    TCPStateMemo->SetReadOnly(true);
    Label1->SetBounds(16, 220, 110, 18);
    ReqSendPanel->SetBounds(128, 214, 60, 26);
    Label2->SetBounds(272, 220, 110, 18);
    ReqRecPanel->SetBounds(384, 214, 60, 26);
    for (Panel* p : {ReqSendPanel.get(), ReqRecPanel.get()}) {
        p->SetEdge(Panel::Edge::Lowered);
        p->SetFont(clWindowText, true);
    }
    Label3->SetBounds(8, 250, 110, 18);

    TVlSortGrid& g = *RecGrd;
    g.SetColCount(4);
    g.SetRowCount(2);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    const int widths[] = {191, 171, 64, 70};
    for (int c = 0; c < 4; ++c) g.SetColWidths(c, widths[c]);
    RecGrd->SetBounds(8, 270, 504, 130);
    g.SetOnGetCellFormat([this](TVlSortGrid* s, int c, int r, TGridDrawState st, TFormatOptions& fo) {
        RecGrdGetCellFormat(s, c, r, st, fo);
    });

    OkBtn->SetOkGlyph();
    OkBtn->SetBounds(316, 412, 90, 30);
    OkBtn->SetEnabled(false);
    OkBtn->OnClick = [this](wb::Persistent*) { SetModalResult(kOk); };
    CancelBtn->SetBounds(420, 412, 90, 30);
    CancelBtn->OnClick = [this](wb::Persistent*) { SetModalResult(kCancel); };

    Timer1.SetEnabled(false);
    Timer1.SetInterval(1000);
    Timer1.OnTimer = [this](wb::Persistent*) { Timer1Timer(); };
    OnShow = [this](wb::Persistent*) { FormShow(); };
    OnClose = [this](wb::Persistent*) { FormClose(); };

    TCP->OnConnect = [this] { TCPConnect(); };
    TCP->OnRead = [this](const std::string& data) { TCPRead(data); };
    TCP->OnError = [this](const std::string&) {
        client_.ConnectFailed();
        ShowState();
    };
    TCP->OnDisconnect = [this] {
        client_.ConnectionLost();
        ShowState();
    };
}

TCddbStatFrm::~TCddbStatFrm() { TCP->Close(); }

void TCddbStatFrm::FormShow() {
    client_.Start();
    TVlSortGrid& g = *RecGrd;
    g.SetRowCount(2);
    g.ClearGrid();
    ShowState();
    OkBtn->SetEnabled(false);
    CancelBtn->SetEnabled(true);
    Timer1.SetEnabled(true);
    RecGrd->SetFocus();
}

void TCddbStatFrm::Timer1Timer() {
    Timer1.SetEnabled(false);
    client_.Connecting();
    ShowState();
    const uint16_t port = PortNumber(server_.Port);
    if (port == 0 || wb::Trim(server_.Url).empty()) {
        client_.ConnectFailed();
    } else {
        TCP->Open(wb::Trim(server_.Url), port);
    }
    ShowState();
}

void TCddbStatFrm::TCPConnect() {
    client_.Connected();
    ShowState();
}

void TCddbStatFrm::TCPRead(const std::string& data) {
    // The view follows even when saving a result fails half way.
    struct Refresh {
        TCddbStatFrm* f;
        ~Refresh() { f->ShowState(); }
    } refresh{this};
    client_.Received(data);
}

void TCddbStatFrm::FormClose() {
    Timer1.SetEnabled(false);
    TCP->Close();
}

void TCddbStatFrm::RecGrdGetCellFormat(TVlSortGrid* sender, int col, int row, TGridDrawState, TFormatOptions& fo) {
    if (row == 0) {
        fo.Brush->Color = kHeaderColor;
        fo.AlignmentHorz = taCenter;
        return;
    }
    fo.Font->Color = kDataText;
    if ((col == 2 || col == 3) && sender->Cells(col, row) == "No") fo.Font->Color = kNoText;
}

void TCddbStatFrm::Send(const std::string& command) { TCP->SendText(command); }

void TCddbStatFrm::CloseConnection() { TCP->Close(); }

void TCddbStatFrm::ReconnectLater() { Timer1.SetEnabled(true); }

// A run may end with no event of the window's (a server gone silent), so
// the view follows here.
void TCddbStatFrm::RunOver() {
    Timer1.SetEnabled(false);
    CancelBtn->SetEnabled(false);
    OkBtn->SetEnabled(true);
    ShowState();
}

void TCddbStatFrm::ShowError(const std::string& text) { ShowMessage(text, MsgKind::Error); }

int TCddbStatFrm::ChooseMatch(const std::vector<TCddbMatch>& matches) { return chooser_.ChooseMatch(matches); }

void TCddbStatFrm::ShowState() {
    TCPStateMemo->SetLines(client_.Log());
    ReqSendPanel->SetCaption(std::to_string(client_.SentCount()));
    ReqRecPanel->SetCaption(std::to_string(client_.ReceivedCount()));
    TVlSortGrid& g = *RecGrd;
    const auto& rows = client_.Results();
    g.SetRowCount(rows.empty() ? 2 : static_cast<int>(rows.size()) + 1);
    const char* headers[] = {"Artist", "Album", "Year", "Genre"};
    for (int c = 0; c < 4; ++c) g.SetCells(c, 0, headers[c]);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        g.SetCells(0, r, rows[i].Artist);
        g.SetCells(1, r, rows[i].Album);
        g.SetCells(2, r, rows[i].Year);
        g.SetCells(3, r, rows[i].Genre);
    }
}

} // namespace velmora
