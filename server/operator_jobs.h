// The operator's jobs on a score database, from the command line: list the best results with
// their ids and addresses, remove one (an offensive name, a forgery), back up a live database.
#pragma once

#include <ostream>

#include "options.h"
#include "score_store.h"

namespace trakvolt::server {

// Runs `options.command` (anything but Serve) on `store`: the findings go to `out`, a mistake
// to `err`. Returns the exit status: 0 done, 1 nothing to do (no such result) or failed.
int RunOperatorJob(const ServerOptions& options, ScoreStore& store, std::ostream& out,
                   std::ostream& err);

}  // namespace trakvolt::server
