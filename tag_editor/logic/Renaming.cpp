#include "tag_editor/logic/Renaming.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/base/CodePage.h"
#include "platform/base/Rename.h"
#include "platform/base/TextUtil.h"

namespace velmora {

namespace {

constexpr long kMaxTrack = 255;
const char kFolderFailed[] = "Can\u00b4t rename directory ! Maybe other programs use this directory.";

std::optional<long> Number(std::string_view text) {
    if (!IsAllDigits(text)) return std::nullopt;
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string Quoted(std::string_view bytes) { return "\"" + wb::ShowableUtf8(bytes) + "\""; }

// Why newName cannot be given to an entry of folder; empty when it can.
std::string NameProblem(const std::string& folder, std::string_view newName) {
    if (folder.empty() || folder[0] != '/') return "The folder " + Quoted(folder) + " is not an absolute path.";
    std::string trimmed = wb::Trim(newName);
    if (trimmed.empty()) return "The new name is empty.";
    if (trimmed == "." || trimmed == "..") return "\".\" and \"..\" are not names.";
    if (newName.find('/') != std::string_view::npos)
        return "A name cannot hold \"/\": it would move the entry out of its folder.";
    if (newName.find('\0') != std::string_view::npos) return "A name cannot hold a zero byte.";
    if (!wb::IsValidUtf8(newName)) return "The new name holds bytes that are not UTF-8 text.";
    long most = wb::MaxNameLength(folder);
    if (static_cast<long>(newName.size()) > most)
        return "The new name is " + std::to_string(newName.size()) +
               " bytes long; this file system holds names of at most " + std::to_string(most) + " bytes.";
    return {};
}

std::string Sentence(const std::string& reason) {
    std::string s = reason;
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s + ".";
}

// The rename both entry kinds share; describe turns a reason into the message.
template <typename Describe>
RenameResult Move(const std::string& folder, std::string_view oldName, const std::string& newName,
                  Describe describe) {
    RenameResult result;
    result.path = InFolder(folder, oldName);
    std::string problem = NameProblem(folder, newName);
    if (problem.empty() && newName == oldName) return result;
    if (problem.empty()) {
        std::string target = InFolder(folder, newName);
        auto error = wb::RenameNoReplace(result.path, target);
        if (!error) {
            result.status = RenameResult::Status::Renamed;
            result.path = target;
            return result;
        }
        problem = error->kind == wb::RenameError::Kind::TargetExists
                      ? "A file or folder of that name already exists."
                      : Sentence(error->reason);
    }
    result.status = RenameResult::Status::Refused;
    result.message = describe(problem);
    return result;
}

} // namespace

void TakeBoxText(TTagInfo& tag, TagBox box, const std::string& text, bool busy) {
    if (box == TagBox::Track) {
        auto n = Number(text);
        if (n && *n <= kMaxTrack) tag.Track = static_cast<uint8_t>(*n);
        return;
    }
    if (busy) return;
    switch (box) {
    case TagBox::Song: tag.Song = text; break;
    case TagBox::Artist: tag.Artist = text; break;
    case TagBox::Album: tag.Album = text; break;
    case TagBox::Comment: tag.Comment = text; break;
    case TagBox::Year:
        if (auto n = Number(text); n && *n <= INT32_MAX) tag.Year = static_cast<int32_t>(*n);
        break;
    case TagBox::Track: break;
    }
}

std::string TrackRefusal(std::string_view trackText) {
    if (!IsAllDigits(trackText)) return {};
    auto n = Number(trackText);
    if (n && *n <= kMaxTrack) return {};
    return "The track number " + std::string(trackText) +
           " does not fit in the tag: tracks go from 1 to 255. Nothing was written.";
}

std::string MakeRenameProposal(const TTagInfo& tag, const NameSettings& settings) {
    return VisibleName(wb::Trim(SanitizeName(BuildName(settings, tag, NameKind::File))), ".mp3");
}

std::string UpdateRenameProposal(const TTagInfo& tag, std::string_view songText,
                                 std::string_view artistText, bool autotag,
                                 const NameSettings& settings) {
    if ((songText.empty() || artistText.empty()) && !autotag) return {};
    std::string name = MakeRenameProposal(tag, settings);
    if (settings.UseDot) name = wb::Trim(SanitizeName(ReplaceBlanks(name, settings.Replacement)));
    return VisibleName(name, ".mp3");
}

RenameResult RenameFile(const std::string& folder, const std::string& oldName,
                        const std::string& newName) {
    return Move(folder, oldName, newName, [&](const std::string& reason) {
        return "Can\u00b4t rename " + Quoted(oldName) + " to " + Quoted(newName) + " !\n" + reason;
    });
}

std::string CleanFolderName(std::string_view name, const NameSettings& settings) {
    std::string s(name);
    if (settings.UseDot) s = ReplaceBlanks(s, settings.Replacement);
    return wb::Trim(VisibleName(wb::Trim(SanitizeName(s)), ""));
}

RenameResult RenameDirectory(const std::string& path, const std::string& newName,
                             const NameSettings& settings) {
    RenameResult result;
    result.path = path;
    if (path.empty() || newName.empty()) return result;
    std::string old = path;
    while (old.size() > 1 && old.back() == '/') old.pop_back();
    size_t slash = old.rfind('/');
    std::string name = CleanFolderName(newName, settings);
    auto describe = [&](const std::string& reason) {
        return std::string(kFolderFailed) + "\n\n" + Quoted(old) + " to " + Quoted(name) + ": " + reason;
    };
    if (old == "/" || slash == std::string::npos) {
        result.status = RenameResult::Status::Refused;
        result.message = describe(old == "/" ? "The root folder has no name to change."
                                             : NameProblem(old, name));
        return result;
    }
    std::string parent = slash == 0 ? "/" : old.substr(0, slash);
    result = Move(parent, std::string_view(old).substr(slash + 1), name, describe);
    if (result.status == RenameResult::Status::Refused) result.path = path;
    return result;
}

} // namespace velmora
