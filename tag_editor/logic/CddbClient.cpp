#include "tag_editor/logic/CddbClient.h"

#include <cctype>
#include <utility>

#include "platform/base/IoError.h"
#include "platform/base/ScopeExit.h"
#include "tag_editor/logic/TagCodec.h"
#include "tag_editor/logic/TagList.h"

namespace velmora {

const char* const kInvalidEMailText = "You have to enter a valid EMail first !";
const char* const kCannotConnectText = "Can\xC2\xB4t connect to server !";
const char* const kConnectionLostText = "The server closed the connection before the requests were answered !";
const char* const kLostConnectionText = "Lost connection to server";

namespace {

const std::string kDashes = "--------------------------------------";
const std::string kReady = "******************* READY *******************";
constexpr size_t kMaxField = 255;
// Entries run to some kilobytes; a reply beyond this is refused.
constexpr size_t kMaxReplyBytes = 4u << 20;

std::string Front8(const std::string& line) { return line.substr(0, 8); }

const std::string kNoLine;

std::string FirstWord(std::string_view text) { return std::string(text.substr(0, text.find(' '))); }

std::string AfterFirstWord(std::string_view text) {
    size_t blank = text.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(text.substr(blank + 1));
}

} // namespace

bool ValidCddbEMail(std::string_view email) { return !email.empty() && email.find('@') != std::string_view::npos; }

TCddbClient::TCddbClient(TCddbRequests& queue, TCddbSettings settings, TCddbClientHost& host)
    : queue_(queue), settings_(std::move(settings)), host_(host) {
    watch_.OnStall = [this](wb::net::Stall) { WaitRanOut(); };
}

void TCddbClient::Start() {
    log_.clear();
    results_.clear();
    written_.clear();
    sent_ = received_ = 0;
    startCount_ = queue_.Count();
    kept_ = reconnects_ = 0;
    over_ = false;
    state_ = 0;
}

void TCddbClient::Connecting() {
    AddLog("Trying to connect to server : " + settings_.Host);
    link_ = Link::Opening;
    watch_.Begin();
}

void TCddbClient::Connected() {
    ++connection_;
    link_ = Link::Open;
    state_ = 0;
    ClearReply();
    watch_.Begin();
    AddLog("Connection established !");
    const std::string& email = settings_.EMail;
    size_t at = email.find('@');
    user_ = email.substr(0, at);
    loginHost_ = at == std::string::npos ? std::string() : email.substr(at + 1, kMaxField);
}

void TCddbClient::ConnectFailed() {
    link_ = Link::None;
    if (over_) return;
    host_.ShowError(kCannotConnectText);
    AddLog("Try failed !");
    Finish();
}

void TCddbClient::ConnectionLost() {
    ++connection_;
    if (over_) return;
    // Quit was sent and every request answered or kept: the server only
    // left before it said good-bye.
    if (state_ == 10) return EndAtReady();
    Close();
    AddLog("Connection to server closed !");
    host_.ShowError(kConnectionLostText);
    Finish();
}

void TCddbClient::Received(std::string_view bytes) {
    if (over_) return;
    watch_.Received(bytes.size());
    replyBytes_ += bytes.size();
    if (replyBytes_ > kMaxReplyBytes) {
        // No entry is this long: the server is not speaking CDDBP.
        AddLog("**** ERROR **** Reply too long, Position " + std::to_string(state_));
        AddLog("CDDB-Client Error => STOP");
        AddLog("Connection to server closed !");
        ClearReply();
        Close();
        Finish();
        return;
    }
    partial_.append(bytes.data(), bytes.size());
    size_t pos = 0;
    for (size_t end; (end = partial_.find('\n', pos)) != std::string::npos; pos = end + 1) {
        std::string line = partial_.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        reply_.push_back(std::move(line));
    }
    partial_.erase(0, pos);
    if (!over_ && !choosing_) HandleCddbReply();
}

void TCddbClient::WaitRanOut() {
    if (over_ || choosing_ || link_ == Link::None) return;
    if (link_ == Link::Opening) {
        Close();
        ConnectFailed();
        return;
    }
    LostConnection();
}

void TCddbClient::LostConnection() {
    ++connection_;
    ClearReply();
    // Every request is answered or kept; only the good-bye did not come.
    if (state_ == 10) return EndAtReady();
    Close();
    AddLog("**** ERROR **** " + std::string(kLostConnectionText) + ", Position " + std::to_string(state_));
    AddLog("Connection to server closed !");
    host_.ShowError(kLostConnectionText);
    Finish();
}

int TCddbClient::ReplyCode() const {
    for (const auto& line : reply_) {
        if (line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
            std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2])))
            return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    }
    return 0;
}

int TCddbClient::FindReplyLine(std::string_view text) const {
    for (size_t i = 0; i < reply_.size(); ++i)
        if (reply_[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
}

bool TCddbClient::HasDotLine() const {
    for (const auto& line : reply_)
        if (line == ".") return true;
    return false;
}

void TCddbClient::HandleCddbReply() {
    const int c = ReplyCode();
    if (state_ == 0 && (c == 201 || c == 200)) {
        AddLog("Login CDDB-Server");
        SendCommand("cddb hello " + user_ + " " + loginHost_ + " Velmora " + settings_.Version.substr(0, kMaxField));
        state_ = 1;
        return;
    }
    if (state_ == 1 && c == 200) {
        AddLog(kDashes);
        state_ = 2;
        AskNext();
        return;
    }
    if (state_ == 2 && c == 202) {
        AddLog("--- No result for query found ---");
        NextCddbRequest();
        return;
    }
    if (state_ == 2 && c == 200) {
        AddLog("Found exact match !");
        const std::string& line = reply_[size_t(FindReplyLine("200"))];
        std::string category = line.size() > 4 ? FirstWord(std::string_view(line).substr(4)) : std::string();
        SendCommand("cddb read " + category + " " + Front8(FrontLine()));
        state_ = 4;
        return;
    }
    if (state_ == 2 && c == 211) {
        AddLog("Found inexact matches ! ");
        state_ = 3;
    }
    if (state_ == 3 && HasDotLine()) {
        ChooseAndRead();
        return;
    }
    if (state_ == 4 && c == 210) {
        AddLog("Receiving data ");
        state_ = 5;
    }
    if (state_ == 5) {
        if (HasDotLine()) {
            AddLog("Analysing result !");
            const bool saved = SaveCddbResult();
            if (over_) return;
            state_ = 2;
            NextCddbRequest(!saved);
        } else {
            AppendLog(".");
        }
        return;
    }
    if (state_ == 10 && !reply_.empty()) {
        // Nothing is left to ask, so no answer to the good-bye, not even a
        // refusal, is worth a new connection.
        if (c >= 400) AddLog("**** ERROR **** Code : " + std::to_string(c) + ", Position " + std::to_string(state_));
        EndAtReady();
        return;
    }
    if (c >= 400) {
        AddLog("**** ERROR **** Code : " + std::to_string(c) + ", Position " + std::to_string(state_));
        if (c < 500 && reconnects_ < kCddbReconnects) {
            ++reconnects_;
            AddLog("Closing connection to server and reconnecting !");
            AddLog(kDashes);
            Close();
            ++connection_;
            host_.ReconnectLater();
            sent_ = startCount_ - Remaining();
        } else {
            // A server that keeps refusing for a while is not coming back:
            // its own words say why.
            const std::string last = c < 500 && !reply_.empty() ? reply_.back() : std::string();
            AddLog("CDDB-Client Error => STOP");
            AddLog("Connection to server closed !");
            Close();
            if (!last.empty()) host_.ShowError(last);
            Finish();
        }
    }
}

void TCddbClient::ChooseAndRead() {
    std::vector<std::string> matches;
    for (size_t i = size_t(FindReplyLine("211")) + 1; i < reply_.size() && reply_[i] != "."; ++i)
        matches.push_back(reply_[i]);
    if (matches.empty()) {
        // An empty list is no match at all.
        AddLog("--- No result for query found ---");
        state_ = 2;
        NextCddbRequest();
        return;
    }
    std::string category, id;
    if (settings_.ShowInexact) {
        std::vector<TCddbMatch> rows;
        for (const auto& raw : matches) {
            // A control byte would break the command made of the row.
            const std::string line = BlankControls(raw);
            TCddbMatch row;
            row.Genre = FirstWord(line);
            std::string rest = AfterFirstWord(line);
            row.ID = FirstWord(rest);
            std::string title = AfterFirstWord(rest);
            if (size_t split = title.find(" / "); split != std::string::npos) {
                row.Artist = title.substr(0, split);
                row.Album = title.substr(split + 3);
            } else {
                row.Artist = "(Sampler)";
                row.Album = title;
            }
            rows.push_back(std::move(row));
        }
        int chosen = 1;
        if (rows.size() > 1) {
            if (!WithUser([&] { chosen = host_.ChooseMatch(rows); })) return;
            if (chosen < 1 || size_t(chosen) > rows.size()) chosen = 1;
            AppendLog("Using Nr. " + std::to_string(chosen));
        } else {
            AppendLog("Using first because there is only one !" + std::to_string(chosen));
        }
        category = rows[size_t(chosen) - 1].Genre;
        id = rows[size_t(chosen) - 1].ID;
    } else {
        AppendLog("Using first !");
        const std::string line = BlankControls(matches.front());
        category = FirstWord(line);
        id = FirstWord(AfterFirstWord(line));
    }
    SendCommand("cddb read " + category + " " + id);
    state_ = 4;
}

template <typename F> bool TCddbClient::WithUser(F&& step) {
    const int connection = connection_;
    // The server is not kept waiting for the user; the next command starts
    // a new wait.
    watch_.Stop();
    choosing_ = true;
    {
        auto chosen = wb::OnScopeExit([&] { choosing_ = false; });
        step();
    }
    // The connection may have ended while the user's window was open.
    return !over_ && connection == connection_;
}

void TCddbClient::NextCddbRequest(bool keep) {
    AddLog(kDashes);
    // A request kept stays queued for a later run; this one goes on.
    if (keep) ++kept_;
    else queue_.Remove(kept_);
    reconnects_ = 0;
    AskNext();
}

void TCddbClient::AskNext() {
    if (Remaining() == 0) {
        AddLog("Logoff CDDB-Server");
        SendCommand("quit");
        state_ = 10;
        return;
    }
    SendQuery();
    ++sent_;
}

int TCddbClient::Remaining() const { return queue_.Count() - kept_; }

const std::string& TCddbClient::FrontLine() const {
    return Remaining() > 0 ? queue_.Lines()[size_t(kept_)] : kNoLine;
}

void TCddbClient::SendQuery() {
    AddLog("Send query to CDDB-Server for ID : " + Front8(FrontLine()));
    SendCommand("cddb query " + FrontLine());
}

bool TCddbClient::SaveCddbResult() {
    int tracks = 0;
    if (auto request = ParseRequestLine(FrontLine())) tracks = std::stoi(request->TrackCount);
    TCDDBDiskRec disc = ParseXmcdEntry(reply_, tracks);
    const std::string artist = disc.TrackArtists.empty() ? std::string() : disc.TrackArtists[0];
    results_.push_back({disc.IsSampler ? "(Sampler)" : artist, disc.Album, disc.Year.empty() ? "No" : "Yes",
                        disc.Genre.empty() ? "No" : "Yes"});
    ++received_;
    if (artist.empty()) return true;
    AddLog("Saving result to disk");
    std::string failure;
    try {
        written_.push_back(WriteCddbTagList(settings_.TagsFolder, disc));
        return true;
    } catch (const wb::IoError& e) {
        failure = e.what();
    } catch (const TagListError& e) {
        failure = e.what();
    }
    AddLog("**** ERROR **** " + failure);
    WithUser([&] { host_.ShowError(failure); });
    return false;
}

void TCddbClient::SendCommand(const std::string& command) {
    ClearReply();
    watch_.Begin();
    host_.Send(command + "\r\n");
}

void TCddbClient::Close() {
    link_ = Link::None;
    watch_.Stop();
    host_.CloseConnection();
}

void TCddbClient::EndAtReady() {
    Close();
    AddLog("Connection to server closed !");
    AddLog("");
    AddLog(kReady);
    Finish();
}

void TCddbClient::ClearReply() {
    reply_.clear();
    partial_.clear();
    replyBytes_ = 0;
}

void TCddbClient::Finish() {
    over_ = true;
    watch_.Stop();
    host_.RunOver();
}

void TCddbClient::AddLog(std::string line) { log_.push_back(std::move(line)); }

void TCddbClient::AppendLog(const std::string& text) {
    if (log_.empty()) log_.emplace_back();
    log_.back() += text;
}

} // namespace velmora
