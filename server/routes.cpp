// Request routing and the answers of the score server.
#include "routes.h"

#include <chrono>
#include <exception>
#include <variant>

#include "base/cp1251.h"
#include "html_pages.h"
#include "submission.h"
#include "text_escape.h"
#include "tokens.h"

namespace trakvolt::server {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kProgram = "Trakvolt";

Response Text(int status, std::string body) {
  return {status, "text/plain; charset=utf-8", std::move(body)};
}

// Every argument name at most once; the value of `name` when present.
struct Args {
  explicit Args(const Request& r) {
    for (std::size_t i = 0; i < r.args.size(); ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (r.args[i].first == r.args[j].first) repeated = true;
    args = &r.args;
  }
  bool Has(const std::string& name) const { return Find(name) != nullptr; }
  const std::optional<std::string>* Find(const std::string& name) const {
    for (const auto& [k, v] : *args)
      if (k == name) return &v;
    return nullptr;
  }
  std::string Value(const std::string& name) const {
    const auto* v = Find(name);
    return v && *v ? **v : std::string();
  }
  bool repeated = false;
  const std::vector<std::pair<std::string, std::optional<std::string>>>* args = nullptr;
};

// A country filter from the address bar (UTF-8) as it is stored: in capitals, as the game
// sends it; nothing when it holds what a player cannot type.
std::optional<std::string> CountryFilter(const std::string& utf8) {
  if (utf8.size() > 4 * kMaxTextBytes) return std::nullopt;
  const std::string cp = Utf8ToCp1251(utf8, '?');
  const std::string capitals = SendableText(cp);
  if (cp.size() > kMaxTextBytes || capitals.size() != cp.size()) return std::nullopt;
  return Cp1251ToUtf8(capitals);
}

}  // namespace

std::int64_t SystemClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

ScoreService::ScoreService(const ServerOptions& options, ScoreStore& store, Clock clock)
    : options_(options),
      store_(store),
      clock_(std::move(clock)),
      check_limit_(options.check_rate, options.check_burst),
      submit_limit_(options.submit_rate, options.submit_burst) {}

Response ScoreService::Handle(const Request& request) {
  try {
    return Route(request);
  } catch (const std::exception&) {
    return Text(503, "service unavailable\n");
  }
}

Response ScoreService::Route(const Request& request) {
  if (request.method != "GET" && request.method != "HEAD") return Text(405, "only GET\n");
  const Args args(request);
  if (args.repeated) return Text(400, "repeated argument\n");
  if (request.path == "/") return {200, kHtml, GamePage()};
  if (request.path == "/health") return Health();
  if (request.path == "/api/scores") {
    const auto country = CountryFilter(args.Value("country"));
    if (!country) return Text(400, "bad country\n");
    return Json(*country);
  }
  if (request.path != "/cgi/version.pl")
    return {404, kHtml, MessagePage(404, "Нет такой страницы")};
  if (args.Value("prg") != kProgram) return Text(404, "unknown program\n");
  // Exactly one of the three requests.
  const int kinds = int{args.Has("version")} + int{args.Has("hs")} + int{args.Has("show")};
  if (kinds != 1) return Text(400, "bad request\n");
  if (args.Has("version")) {
    if (args.args->size() != 2) return Text(400, "bad request\n");
    return Availability(request);
  }
  if (args.Has("hs")) {
    const auto* inf = args.Find("inf");
    if (args.args->size() != 3 || inf == nullptr || !*inf) return Text(400, "missing payload\n");
    return Submission(request, **inf);
  }
  for (const auto& [k, v] : *args.args)
    if (k != "prg" && k != "show" && k != "type" && k != "country")
      return Text(400, "bad request\n");
  if (args.Value("type") != "0") return Text(404, "unknown table\n");
  const auto country = CountryFilter(args.Value("country"));
  if (!country) return {400, kHtml, MessagePage(400, "Неверная страна")};
  return Table(*country);
}

Response ScoreService::Availability(const Request& request) {
  const std::int64_t now_ms = clock_();
  if (!check_limit_.Allow(request.address, now_ms)) return Text(429, "too many requests\n");
  const std::int64_t now = now_ms / 1000;
  const std::string token = NewToken();
  store_.IssueToken(token, request.address, now, now + options_.token_ttl_seconds,
                    options_.tokens_per_address);
  // The game takes the fifth "|"-separated field, and only when a separator follows it.
  return Text(200, "OK|Trakvolt|1|0|" + token + "|");
}

Response ScoreService::Submission(const Request& request, const std::string& inf) {
  const std::int64_t now_ms = clock_();
  if (!submit_limit_.Allow(request.address, now_ms)) return Text(429, "too many requests\n");
  auto checked = CheckSubmission(inf);
  if (const auto* refusal = std::get_if<Refusal>(&checked)) {
    const int status = inf.size() > kMaxEncodedPayload ? 414 : 400;
    return Text(status, refusal->reason + "\n");
  }
  const ScoreSubmission& s = std::get<ScoreSubmission>(checked);
  ScoreRow row;
  row.name = Cp1251ToUtf8(s.name);
  row.score = s.score;
  row.country = Cp1251ToUtf8(s.country);
  if (store_.Submit(s.p, row, request.address, now_ms / 1000) != SubmitOutcome::Stored)
    return Text(403, "unknown token\n");
  return Text(200, "OK");
}

Response ScoreService::Table(const std::string& country) {
  return {200, kHtml, ScoreTablePage(store_.Top(options_.table_size, country), country)};
}

Response ScoreService::Json(const std::string& country) {
  std::string body = "{\"game\":\"Trakvolt\",\"country\":" + JsonString(country) + ",\"scores\":[";
  int rank = 0;
  for (const ScoreRow& r : store_.Top(options_.table_size, country)) {
    if (rank > 0) body += ',';
    body += "{\"rank\":" + std::to_string(++rank) + ",\"name\":" + JsonString(r.name) +
            ",\"score\":" + std::to_string(r.score) + ",\"country\":" + JsonString(r.country) +
            ",\"date\":" + JsonString(FormatDate(r.created)) +
            ",\"time\":" + std::to_string(r.created) + "}";
  }
  return {200, "application/json", body + "]}\n"};
}

Response ScoreService::Health() {
  if (!store_.WriteProblem().empty())
    return {503, "application/json", "{\"status\":\"database unavailable\"}\n"};
  return {200, "application/json", "{\"status\":\"ok\"}\n"};
}

}  // namespace trakvolt::server
