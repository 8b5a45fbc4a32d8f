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
constexpr const char* kJson = "application/json";
constexpr const char* kProgram = "Trakvolt";
// The table may be a few seconds old, in this process and in browsers and proxies: a page
// hammered by many clients then costs almost nothing.
constexpr std::int64_t kTableCacheMs = 2000;
constexpr const char* kTableCacheControl = "public, max-age=5";
constexpr std::size_t kCachedFilters = 1024;
constexpr std::int64_t kHealthProbeMs = 1000;
constexpr std::size_t kMaxArgs = 16;

Response Text(int status, std::string body) {
  return {status, "text/plain; charset=utf-8", std::move(body)};
}

Response NotAllowed(const char* allow) {
  Response r = Text(405, std::string("only ") + allow + "\n");
  r.headers.emplace_back("Allow", allow);
  return r;
}

Response Cached(Response r) {
  r.headers.emplace_back("Cache-Control", kTableCacheControl);
  return r;
}

}  // namespace

// Every argument name at most once; the value of `name` when present.
struct ScoreService::Args {
  explicit Args(const Request& r) {
    args = &r.args;
    // No request of ours has more; the check below compares every pair.
    if (r.args.size() > kMaxArgs) {
      too_many = true;
      return;
    }
    for (std::size_t i = 0; i < r.args.size(); ++i)
      for (std::size_t j = 0; j < i; ++j)
        if (r.args[i].first == r.args[j].first) repeated = true;
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
  // The game's two requests (the availability check and the submission) against the pages.
  bool GameRequest(const Request& r) const {
    return r.path == "/cgi/version.pl" && (Has("version") || Has("hs"));
  }
  bool repeated = false;
  bool too_many = false;
  const std::vector<std::pair<std::string, std::optional<std::string>>>* args = nullptr;
};

std::optional<std::string> CountryFilter(const std::string& utf8) {
  if (utf8.size() > 4 * kMaxTextBytes) return std::nullopt;
  const std::string cp = Utf8ToCp1251(utf8, '?');
  const std::string capitals = SendableText(cp);
  if (cp.size() > kMaxTextBytes || capitals.size() != cp.size()) return std::nullopt;
  return Cp1251ToUtf8(capitals);
}

std::int64_t SystemClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

ScoreService::ScoreService(const ServerOptions& options, ScoreStore& store, Clock clock,
                           RefusalLog* log)
    : options_(options),
      store_(store),
      clock_(std::move(clock)),
      log_(log),
      check_limit_("check", options.check_rate, options.check_burst, store),
      submit_limit_("submit", options.submit_rate, options.submit_burst, store),
      page_limit_("page", options.page_rate, options.page_burst, store),
      top_cache_(kTableCacheMs, kCachedFilters) {}

Response ScoreService::Handle(const Request& request) {
  try {
    return Route(request);
  } catch (const std::exception&) {
    return Refuse(request, "database unavailable", Text(503, "service unavailable\n"));
  }
}

Response ScoreService::Refuse(const Request& request, const std::string& reason, Response answer) {
  if (log_ != nullptr)
    log_->Refused(request.address, std::to_string(answer.status) + " " + reason + " (" +
                                       request.method + " " + ValidText(request.path) + ")");
  return answer;
}

Response ScoreService::Route(const Request& request) {
  if (request.method != "GET" && request.method != "HEAD")
    return Refuse(request, "method", NotAllowed("GET, HEAD"));
  const Args args(request);
  if (args.too_many)
    return Refuse(request, "too many arguments", Text(400, "too many arguments\n"));
  if (args.repeated) return Refuse(request, "repeated argument", Text(400, "repeated argument\n"));
  // A HEAD must change nothing: the game's requests issue and use up tokens.
  if (args.GameRequest(request)) {
    if (request.method == "HEAD")
      return Refuse(request, "HEAD of a game request", NotAllowed("GET"));
    return GameRequest(request, args);
  }
  if (!page_limit_.Allow(request.limit_key, clock_()))
    return Refuse(request, "page rate", Text(429, "too many requests\n"));
  if (request.path == "/") return {200, kHtml, GamePage()};
  if (request.path == "/health") return Health();
  if (request.path == "/api/scores") {
    const auto country = CountryFilter(args.Value("country"));
    if (!country) return Refuse(request, "bad country", Text(400, "bad country\n"));
    return Json(*country);
  }
  if (request.path != "/cgi/version.pl")
    return {404, kHtml, MessagePage(404, "Нет такой страницы")};
  if (args.Value("prg") != kProgram)
    return Refuse(request, "unknown program", Text(404, "unknown program\n"));
  if (!args.Has("show")) return Refuse(request, "bad request", Text(400, "bad request\n"));
  for (const auto& [k, v] : *args.args)
    if (k != "prg" && k != "show" && k != "type" && k != "country")
      return Refuse(request, "bad request", Text(400, "bad request\n"));
  if (args.Value("type") != "0")
    return Refuse(request, "unknown table", Text(404, "unknown table\n"));
  const auto country = CountryFilter(args.Value("country"));
  if (!country)
    return Refuse(request, "bad country", {400, kHtml, MessagePage(400, "Неверная страна")});
  return Table(*country);
}

Response ScoreService::GameRequest(const Request& request, const Args& args) {
  if (args.Value("prg") != kProgram)
    return Refuse(request, "unknown program", Text(404, "unknown program\n"));
  // Exactly one of the requests.
  const int kinds = int{args.Has("version")} + int{args.Has("hs")} + int{args.Has("show")};
  if (kinds != 1) return Refuse(request, "bad request", Text(400, "bad request\n"));
  if (args.Has("version")) {
    if (args.args->size() != 2) return Refuse(request, "bad request", Text(400, "bad request\n"));
    return Availability(request);
  }
  const auto* inf = args.Find("inf");
  if (args.args->size() != 3 || inf == nullptr || !*inf)
    return Refuse(request, "missing payload", Text(400, "missing payload\n"));
  return Submission(request, **inf);
}

Response ScoreService::Availability(const Request& request) {
  const std::int64_t now_ms = clock_();
  if (!check_limit_.Allow(request.limit_key, now_ms))
    return Refuse(request, "check rate", Text(429, "too many requests\n"));
  const std::int64_t now = now_ms / 1000;
  const std::string token = NewToken();
  store_.IssueToken(token, request.limit_key, now, now + options_.token_ttl_seconds,
                    options_.tokens_per_address);
  // The game takes the fifth "|"-separated field, and only when a separator follows it.
  return Text(200, "OK|Trakvolt|1|0|" + token + "|");
}

Response ScoreService::Submission(const Request& request, const std::string& inf) {
  const std::int64_t now_ms = clock_();
  auto checked = CheckSubmission(inf);
  if (const auto* refusal = std::get_if<Refusal>(&checked)) {
    const int status = inf.size() > kMaxEncodedPayload ? 414 : 400;
    return Refuse(request, refusal->reason, Text(status, refusal->reason + "\n"));
  }
  const ScoreSubmission& s = std::get<ScoreSubmission>(checked);
  const std::int64_t now = now_ms / 1000;
  // A submission with a valid token passes whatever the rate: its check was counted, and a
  // refusal here would lose a real result. The rate stops floods of made-up tokens.
  if (!submit_limit_.Allow(request.limit_key, now_ms) && !store_.TokenValid(s.p, now))
    return Refuse(request, "submission rate", Text(429, "too many requests\n"));
  ScoreRow row;
  row.name = Cp1251ToUtf8(s.name);
  row.score = s.score;
  row.country = Cp1251ToUtf8(s.country);
  if (store_.Submit(s.p, row, request.address, now) != SubmitOutcome::Stored)
    return Refuse(request, "unknown token", Text(403, "unknown token\n"));
  top_cache_.Clear();
  return Text(200, "OK");
}

std::vector<ScoreRow> ScoreService::Top(const std::string& country) {
  return top_cache_.Get(country, clock_(),
                        [&] { return store_.Top(options_.table_size, country); });
}

Response ScoreService::Table(const std::string& country) {
  return Cached({200, kHtml, ScoreTablePage(Top(country), country)});
}

Response ScoreService::Json(const std::string& country) {
  std::string body = "{\"game\":\"Trakvolt\",\"country\":" + JsonString(country) + ",\"scores\":[";
  int rank = 0;
  for (const ScoreRow& r : Top(country)) {
    if (rank > 0) body += ',';
    body += "{\"rank\":" + std::to_string(++rank) + ",\"name\":" + JsonString(r.name) +
            ",\"score\":" + std::to_string(r.score) + ",\"country\":" + JsonString(r.country) +
            ",\"date\":" + JsonString(FormatDate(r.created)) +
            ",\"time\":" + std::to_string(r.created) + "}";
  }
  return Cached({200, kJson, body + "]}\n"});
}

Response ScoreService::Health() {
  std::string problem;
  {
    std::lock_guard lock(health_mutex_);
    const std::int64_t now_ms = clock_();
    if (health_at_ms_ < 0 || now_ms < health_at_ms_ || now_ms - health_at_ms_ >= kHealthProbeMs) {
      try {
        health_problem_ = store_.WriteProblem();
      } catch (const std::exception& e) {
        health_problem_ = e.what();
      }
      health_at_ms_ = now_ms;
    }
    problem = health_problem_;
  }
  if (!problem.empty())
    return {503, kJson,
            "{\"status\":\"database cannot write\",\"problem\":" + JsonString(problem) + "}\n"};
  return {200, kJson, "{\"status\":\"ok\"}\n"};
}

}  // namespace trakvolt::server
