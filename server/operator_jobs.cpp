// Listing, removing and backing up results for the operator.
#include "operator_jobs.h"

#include <exception>

#include "html_pages.h"
#include "routes.h"
#include "text_escape.h"

namespace trakvolt::server {
namespace {

int List(const ServerOptions& options, ScoreStore& store, std::ostream& out, std::ostream& err) {
  const auto country = CountryFilter(options.list_country);
  if (!country) {
    err << "--country: not a country a player can type: " << ValidText(options.list_country)
        << "\n";
    return 1;
  }
  // Tab-separated, one result a line; the texts made valid, so that no row can break a line.
  out << "id\tscore\tdate (UTC)\taddress\tname\tcountry\n";
  for (const ScoreRow& r : store.Top(options.list_limit, *country))
    out << r.id << '\t' << r.score << '\t' << FormatDate(r.created) << '\t' << ValidText(r.address)
        << '\t' << ValidText(r.name) << '\t' << ValidText(r.country) << '\n';
  return 0;
}

}  // namespace

int RunOperatorJob(const ServerOptions& options, ScoreStore& store, std::ostream& out,
                   std::ostream& err) {
  try {
    switch (options.command) {
      case ServerCommand::List:
        return List(options, store, out, err);
      case ServerCommand::Remove:
        if (!store.Remove(options.remove_id)) {
          err << "no result with id " << options.remove_id << "\n";
          return 1;
        }
        out << "removed result " << options.remove_id << "\n";
        return 0;
      case ServerCommand::Backup:
        store.Backup(options.backup_path);
        out << "backed up " << options.db << " to " << options.backup_path << "\n";
        return 0;
      case ServerCommand::Serve:
        break;
    }
    err << "not an operator's job\n";
  } catch (const std::exception& e) {
    err << e.what() << "\n";
  }
  return 1;
}

}  // namespace trakvolt::server
