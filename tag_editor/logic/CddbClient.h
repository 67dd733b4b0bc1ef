#pragma once
// The CDDBP dialogue of the CDDB status window: greeting, hello, one query
// per queued request, the exact or a chosen inexact match, the entry read
// and saved as a tag list, and quit. It is fed the bytes the socket
// received and acts on whole lines only, so a reply split anywhere gives the
// same run; what it sends and shows goes through its host. Every wait ends
// through the network's stall watcher.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/StallWatcher.h"
#include "tag_editor/logic/CDDBCalc.h"
#include "tag_editor/logic/CddbEntry.h"

namespace velmora {

constexpr const char* kDefaultCddbServer = "gnudb.gnudb.org";
constexpr const char* kDefaultCddbPort = "8880";
extern const char* const kInvalidEMailText;   // "You have to enter a valid EMail first !"
extern const char* const kCannotConnectText;  // "Can´t connect to server !"
extern const char* const kConnectionLostText;
extern const char* const kLostConnectionText;  // "Lost connection to server"

// So long without a byte from the server is a lost connection...
constexpr std::chrono::seconds kCddbSilence{30};
// ...and a reply still not complete so long after its command is one too: a
// server that trickles bytes for ever is as good as gone.
constexpr std::chrono::seconds kCddbReplyTime{120};
// Temporary errors answered by reconnecting, in a row; the next one stops.
constexpr int kCddbReconnects = 3;

// Non-empty and holding an "@".
bool ValidCddbEMail(std::string_view email);

// One row of the match chooser.
struct TCddbMatch {
    std::string Artist, Album, Genre, ID;
};

// One row of the result grid: "Artist", "Album", "Year", "Genre".
struct TCddbResultRow {
    std::string Artist, Album, Year, Genre;
};

struct TCddbSettings {
    std::string Host;        // for the log
    std::string EMail;       // user "@" host, for the hello
    std::string Version;     // the program's version text
    bool ShowInexact = true; // let the user choose among several matches
    std::string TagsFolder;  // where the tag lists go
};

// What the window does for the dialogue; all calls come on the GUI thread.
class TCddbClientHost {
public:
    virtual ~TCddbClientHost() = default;
    virtual void Send(const std::string& command) = 0;  // ends in CR LF
    virtual void CloseConnection() = 0;
    virtual void ReconnectLater() = 0;  // connect again in one second
    virtual void RunOver() = 0;         // only "OK" stays enabled
    virtual void ShowError(const std::string& text) = 0;
    // Shows the matches; gives the chosen row, 1 for the first.
    virtual int ChooseMatch(const std::vector<TCddbMatch>& matches) = 0;
};

class TCddbClient {
public:
    TCddbClient(TCddbRequests& queue, TCddbSettings settings, TCddbClientHost& host);

    // A new run: counters at 0, log and results empty.
    void Start();
    // Before the socket opens, and after it opened, failed or was lost.
    void Connecting();
    void Connected();
    void ConnectFailed();
    void ConnectionLost();
    // Bytes as the socket delivered them, in any pieces. Whatever a server
    // sends, nothing is thrown: failures go to the log and the host.
    void Received(std::string_view bytes);

    const std::vector<std::string>& Log() const { return log_; }
    int SentCount() const { return sent_; }
    int ReceivedCount() const { return received_; }
    const std::vector<TCddbResultRow>& Results() const { return results_; }
    const std::vector<std::string>& WrittenFiles() const { return written_; }
    int State() const { return state_; }
    bool Over() const { return over_; }

private:
    void HandleCddbReply();
    void NextCddbRequest(bool keep = false);
    bool SaveCddbResult();
    void ChooseAndRead();
    // Runs a modal step of the user's; false when the dialogue ended meanwhile.
    template <typename F> bool WithUser(F&& step);
    void WaitRanOut();
    void LostConnection();
    void EndAtReady();
    void Close();
    int Remaining() const;
    void AskNext();
    void SendQuery();
    const std::string& FrontLine() const;
    void SendCommand(const std::string& command);
    void ClearReply();
    void Finish();
    int ReplyCode() const;
    int FindReplyLine(std::string_view text) const;
    bool HasDotLine() const;
    void AddLog(std::string line);
    void AppendLog(const std::string& text);

    TCddbRequests& queue_;
    TCddbSettings settings_;
    TCddbClientHost& host_;
    std::string user_, loginHost_;
    std::vector<std::string> reply_;  // whole lines of the current reply
    std::string partial_;             // a line whose end has not arrived
    size_t replyBytes_ = 0;
    std::vector<std::string> log_;
    std::vector<TCddbResultRow> results_;
    std::vector<std::string> written_;
    int state_ = 0;
    int sent_ = 0, received_ = 0;
    int startCount_ = 0;
    int kept_ = 0;        // requests at the front left queued after a failed save
    int reconnects_ = 0;  // in a row, since a request was last answered or kept
    int connection_ = 0;  // counts connections, so a choice outlived by its connection sends nothing
    enum class Link { None, Opening, Open } link_ = Link::None;
    bool over_ = false, choosing_ = false;
    wb::net::StallWatcher watch_{{.silence = kCddbSilence, .whole = kCddbReplyTime}};
};

} // namespace velmora
