#pragma once
// A CDDBP server for tests, without sockets: each command gets its scripted
// reply, in the pieces the network is to deliver it in. Byte-fed tests and
// the loopback server of the window tests share it.
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace velmora::test {

using Pieces = std::vector<std::string>;

struct ScriptedCddbServer {
    Pieces greeting{"201 test.example CDDBP server v1.5 ready at Wed Dec 09 05:00:00 2026\r\n"};
    // Replies by command (without its CR LF); several replies are used in
    // turn, the last one again and again.
    std::map<std::string, std::deque<Pieces>> replies;
    std::vector<std::string> commands;  // what was sent, in order

    void On(const std::string& command, Pieces reply) { replies[command].push_back(std::move(reply)); }

    Pieces Answer(std::string command) {
        if (command.size() >= 2 && command.compare(command.size() - 2, 2, "\r\n") == 0) command.resize(command.size() - 2);
        commands.push_back(command);
        auto it = replies.find(command);
        if (it == replies.end() || it->second.empty()) return {"500 Unrecognized command.\r\n"};
        Pieces reply = it->second.front();
        if (it->second.size() > 1) it->second.pop_front();
        return reply;
    }
};

inline const std::string kHello = "cddb hello a b Velmora 1.0.0.0";
inline const std::string kTwoTrackLine = "0b012a02 2 150 13500 300";

// The entry of the two-track test disc, after its 210 line.
inline std::string TwoTrackEntry(const std::string& dtitle = "DTITLE=The Artist / The Album\r\n") {
    return "# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t13500\r\n#\r\n# Disc length: 300 seconds\r\n#\r\n"
           "DISCID=0b012a02\r\n" + dtitle +
           "DYEAR=1998\r\nDGENRE=Rock\r\nTTITLE0=First Song\r\nTTITLE1=Second Song\r\n"
           "EXTD=YEAR: 1998 ID3G: 17\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n";
}

inline const std::string kRead210 = "210 rock 0b012a02 CD database entry follows (until terminating `.')\r\n";

// One exact match, its entry in three pieces, the middle one ending inside a line.
inline void ScriptExactMatch(ScriptedCddbServer& s) {
    s.On(kHello, {"200 Hello and welcome a@b running Velmora 1.0.0.0.\r\n"});
    s.On("cddb query " + kTwoTrackLine, {"200 rock 0b012a02 The Artist / The Album\r\n"});
    std::string entry = TwoTrackEntry();
    s.On("cddb read rock 0b012a02", {kRead210 + entry.substr(0, 40), entry.substr(40, 100), entry.substr(140)});
    s.On("quit", {"230 test.example Closing connection.  Goodbye.\r\n"});
}

} // namespace velmora::test
