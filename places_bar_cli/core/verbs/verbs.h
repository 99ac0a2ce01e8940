#pragma once
// The commands of lumbrake-cli, a file each, over one session.
#include "command_line.h"
#include "commands.h"
#include "session.h"

namespace lumbrake::cli {

int Show(Session& session, const Request& request);
int Check(Session& session, const Request& request);
int Set(Session& session, const Request& request);
int Backup(Session& session, const Request& request);
int Restore(Session& session, const Request& request);
int Export(Session& session, const Request& request);
int Preview(Session& session, const Request& request);

}  // namespace lumbrake::cli
