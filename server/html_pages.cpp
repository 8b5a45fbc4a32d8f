// HTML of the game's page, the score table and the messages.
#include "html_pages.h"

#include "text_escape.h"
#include "utc_time.h"

namespace trakvolt::server {
namespace {

// The menus' look: asphalt grey, gold headings and frames, white text, navy panels.
constexpr const char* kStyle = R"(
body { margin: 0; background: #2f3133; color: #ffffff; font: 16px/1.5 "DejaVu Sans", Verdana, sans-serif; }
main { max-width: 760px; margin: 32px auto; padding: 24px 28px; background: #14204a;
  border: 3px solid #e8b923; border-radius: 6px; box-shadow: 0 0 0 6px #1b1c1e; }
h1 { margin: 0 0 16px; color: #e8b923; font-size: 30px; letter-spacing: 2px; text-transform: uppercase;
  text-shadow: 2px 2px 0 #000000; }
h2 { color: #e8b923; font-size: 20px; margin: 24px 0 8px; }
a { color: #f5d25c; }
table { width: 100%; border-collapse: collapse; margin-top: 12px; }
th { color: #14204a; background: #e8b923; text-align: left; padding: 6px 10px; }
td { padding: 5px 10px; border-bottom: 1px solid #3a4a7a; overflow-wrap: anywhere; }
tr:nth-child(even) td { background: #1a2a5c; }
td.n, th.n { text-align: right; font-variant-numeric: tabular-nums; }
form { margin: 8px 0; }
input[type=text] { background: #2f3133; color: #ffffff; border: 2px solid #e8b923; padding: 4px 8px; }
button { background: #e8b923; color: #14204a; border: 0; padding: 6px 14px; font-weight: bold; }
.note { color: #c8cbd4; font-size: 14px; }
)";

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>" +
         HtmlEscape(title) + "</title><style>" + kStyle + "</style></head>\n<body><main>\n" + body +
         "\n</main></body></html>\n";
}

// Names and countries longer than the game sends (rows written by other tools) are cut, so
// that one row cannot push the table off the page.
constexpr std::size_t kShownChars = 64;

std::string Shown(const std::string& text) {
  return HtmlEscape(CutText(ValidText(text), kShownChars));
}

constexpr const char* kTableLink = "/cgi/version.pl?prg=Trakvolt&amp;show&amp;type=0";

}  // namespace

std::string FormatDate(std::int64_t seconds) { return FormatUtc(seconds, "%Y-%m-%d %H:%M"); }

std::string ScoreTablePage(const std::vector<ScoreRow>& rows, const std::string& country) {
  std::string body = "<h1>Гонкострель</h1>\n<h2>Лучшие результаты";
  if (!country.empty()) body += ": " + HtmlEscape(country);
  body +=
      "</h2>\n<form method=\"get\" action=\"/cgi/version.pl\">"
      "<input type=\"hidden\" name=\"prg\" value=\"Trakvolt\">"
      "<input type=\"hidden\" name=\"show\" value=\"\">"
      "<input type=\"hidden\" name=\"type\" value=\"0\">"
      "<label>Страна: <input type=\"text\" name=\"country\" maxlength=\"64\" value=\"" +
      HtmlEscape(country) + "\"></label> <button type=\"submit\">Показать</button></form>\n";
  if (rows.empty()) {
    body += "<p>Результатов пока нет.</p>";
  } else {
    body +=
        "<table><thead><tr><th class=\"n\">Место</th><th>Имя</th><th class=\"n\">Очки</th>"
        "<th>Страна</th><th>Дата (UTC)</th></tr></thead><tbody>\n";
    int rank = 0;
    for (const ScoreRow& r : rows) {
      body += "<tr><td class=\"n\">" + std::to_string(++rank) + "</td><td>" + Shown(r.name) +
              "</td><td class=\"n\">" + std::to_string(r.score) + "</td><td>" + Shown(r.country) +
              "</td><td>" + FormatDate(r.created) + "</td></tr>\n";
    }
    body += "</tbody></table>";
  }
  body += std::string("\n<p class=\"note\"><a href=\"/\">Об игре</a>") +
          (country.empty() ? "" : std::string(" · <a href=\"") + kTableLink + "\">Все страны</a>") +
          "</p>";
  return Page("Гонкострель — лучшие результаты", body);
}

std::string GamePage() {
  std::string body =
      "<h1>Гонкострель</h1>\n"
      "<p>Аркадные гонки: дорога бежит вниз по экрану, а вы ведёте машину вверх, объезжая стены, "
      "шипы, лужи, камни, трещины, кроликов и чужие машины. Бонусы дают очки, жизнь, пушку и "
      "турбо. Каждый уровень надо пройти, пока не кончилось время; оставшиеся секунды "
      "превращаются в очки.</p>\n"
      "<p><i>Trakvolt</i> is an arcade racing game for Linux: dodge the traffic, grab the "
      "bonuses and beat the level clock.</p>\n"
      "<h2>Как получить игру</h2>\n"
      "<p>Игра собирается из исходных текстов на Linux (SDL2): <code>scripts/setup.sh</code> "
      "ставит нужные пакеты, <code>scripts/play.sh</code> собирает и запускает игру.</p>\n"
      "<h2>Таблица рекордов</h2>\n"
      "<p>Попали в десятку лучших? Отправьте результат из игры и найдите себя в "
      "<a href=\"" +
      std::string(kTableLink) + "\">таблице лучших результатов</a>.</p>";
  return Page("Гонкострель", body);
}

std::string MessagePage(int status, const std::string& text) {
  return Page("Гонкострель", "<h1>Гонкострель</h1>\n<p>" + std::to_string(status) + ": " +
                                 HtmlEscape(text) + "</p>\n<p><a href=\"/\">На главную</a></p>");
}

}  // namespace trakvolt::server
