#include "verbs.h"

namespace lumbrake::cli {

int Preview(Session& session, const Request& request) {
    const PreviewResult result = session.host.openDialog.Preview(request.list);
    if (!result.opened) {
        session.Err(session.Text(msg::kPreviewFailed, {session.host.console.ErrorText(result.error)}));
        return kExitFailed;
    }
    if (!request.list) return kExitDone;
    for (const std::wstring& place : result.places) session.Out(place);
    if (!result.placesBar) session.Err(session.Text(msg::kNoPlacesBar));
    return kExitDone;
}

}  // namespace lumbrake::cli
