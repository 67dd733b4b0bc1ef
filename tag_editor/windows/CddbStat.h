#pragma once
// The CDDB status window: one modal run of the CDDBP dialogue over the
// request queue, with its log, counters and result grid.
#include <memory>
#include <string>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/Timer.h"
#include "platform/net/ClientSocket.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/controls/grid/VlSortGrd.h"

namespace velmora {

// What the main window's CDDB tab gives a run.
struct TCddbServer {
    std::string Url;   // UrlEdit
    std::string Port;  // PortEdit
};

class TCddbStatFrm : public wb::gui::Form, private TCddbClientHost {
public:
    TCddbStatFrm(TCddbRequests& requests, TCddbServer server, TCddbSettings settings, TChooseFrm& chooser,
                 wb::Component* owner = nullptr);
    ~TCddbStatFrm() override;

    void FormShow();
    void Timer1Timer();
    void TCPConnect();
    void TCPRead(const std::string& data);
    void FormClose();
    void RecGrdGetCellFormat(TVlSortGrid* sender, int col, int row, wb::gui::TGridDrawState state,
                             TFormatOptions& fo);

    const TCddbClient& Client() const { return client_; }

    wb::gui::Child<wb::gui::GroupBox> GroupBox1;
    wb::gui::Child<wb::gui::Memo> TCPStateMemo;
    wb::gui::Child<wb::gui::Label> Label1, Label2, Label3;
    wb::gui::Child<wb::gui::Panel> ReqSendPanel, ReqRecPanel;
    wb::gui::Child<TVlSortGrid> RecGrd;
    wb::gui::Child<wb::gui::Button> OkBtn, CancelBtn;
    wb::gui::Timer Timer1;

private:
    void Send(const std::string& command) override;
    void CloseConnection() override;
    void ReconnectLater() override;
    void RunOver() override;
    void ShowError(const std::string& text) override;
    int ChooseMatch(const std::vector<TCddbMatch>& matches) override;
    // Log, counters and grid as the dialogue left them.
    void ShowState();

    TCddbServer server_;
    TChooseFrm& chooser_;
    std::unique_ptr<wb::net::ClientSocket> TCP;
    TCddbClient client_;
};

} // namespace velmora
