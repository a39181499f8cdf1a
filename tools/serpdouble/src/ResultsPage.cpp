#include "serpdouble/ResultsPage.h"

#include <algorithm>

#include "ResultsPageTemplate.h"
#include "TextCodec.h"

namespace serpdouble {

namespace {

namespace tpl = page_template;

// The keyword in the two forms the page shows it.
struct Keyword {
    std::string html;   // in text and attribute values
    std::string query;  // in the page's own links
};

std::string SearchLink(const ResultsPage& page, const Keyword& kw, int start) {
    std::string link =
        page.searchPath + "?q=" + kw.query + "&amp;hl=en&amp;start=" + std::to_string(start);
    if (page.perPage != 10) link += "&amp;num=" + std::to_string(page.perPage);
    return link + "&amp;sa=N";
}

std::string ToolBar(const Keyword& kw) {
    const std::string q = "?hl=en&q=" + kw.query + "&um=1&ie=UTF-8";
    return "<div id=gbar><nobr><b class=gb1>Web</b> <a href=\"http://images.google.com/images" + q +
           "&sa=N&tab=wi\" onclick=gbar.qs(this) class=gb1>Images</a> " +
           "<a href=\"http://video.google.com/videosearch" + q +
           "&sa=N&tab=wv\" onclick=gbar.qs(this) class=gb1>Videos</a> " +
           "<a href=\"http://maps.google.com/maps" + q +
           "&sa=N&tab=wl\" onclick=gbar.qs(this) class=gb1>Maps</a> " +
           "<a href=\"http://news.google.com/news" + q +
           "&sa=N&tab=wn\" onclick=gbar.qs(this) class=gb1>News</a> " +
           "<a href=\"http://mail.google.com/mail/?hl=en&tab=wm\" class=gb1>Gmail</a></nobr>"
           "</div><div id=guser width=100%><nobr><span id=gbn class=gbi></span>"
           "<a href=\"/preferences?hl=en\" class=gb4>Search settings</a> | <a "
           "href=\"https://www.google.com/accounts/Login?hl=en\" class=gb4>Sign in</a></nobr>"
           "</div><div class=gbh style=left:0></div><div class=gbh style=right:0></div>";
}

std::string SearchForm(const Keyword& kw) {
    return "<div id=cnt><form id=tsf name=gs method=GET action=\"/search\"><table id=sft "
           "class=ts style=\"clear:both;margin:19px 3px 20px 3px\"><tr valign=top><td "
           "style=\"padding-right:8px\"><h1><a id=logo href=\"http://www.google.com/webhp?hl=en\" "
           "title=\"Go to Google Home\">Google<img width=164 height=106 "
           "src=\"/images/nav_logo8.png\" alt=\"\"></a></h1><td id=sff style=\"padding:1px 3px "
           "7px;padding-left:9px;width:100%\"><table class=ts style=\"margin:12px 0 3px\"><tr><td "
           "nowrap><input type=hidden name=hl value=\"en\"><input autocomplete=\"off\" class=lst "
           "type=text name=q size=70 maxlength=2048 value=\"" +
           kw.html +
           "\" title=\"Search\"> <input type=submit name=\"btnG\" class=lsb value=\"Search\">"
           "</td><td style=\"padding:0 6px\" class=\"nobr xsm\"><a href=\"/advanced_search?q=" +
           kw.query + "&amp;hl=en\">Advanced Search</a><br></table></table></form>";
}

std::string StatsBar(const ResultsPage& page, const Keyword& kw) {
    std::string stats = "&nbsp;";
    if (!page.hrefs.empty()) {
        const auto last = page.start + static_cast<int>(page.hrefs.size());
        stats += "Results <b>" + std::to_string(page.start + 1) + "</b> - <b>" +
                 std::to_string(last) + "</b> of about <b>" + std::to_string(page.total) +
                 "</b> for <b>" + kw.html + "</b>.  (<b>0.10</b> seconds)&nbsp;";
    }
    return "<div id=ssb><div id=prs><span class=std><b>Web</b></span><a href=\"/search?q=" +
           kw.query +
           "&amp;hl=en&amp;tbo=1\" id=tbpi class=q onclick=\"return google.x(this,function()"
           "{return google.Toolbelt.toggle(this, event)})\"><div id=tbp></div><span "
           "class=tbpo>Hide options</span><span class=tbpc>Show options...</span></a></div>"
           "<p id=resultStats>" +
           stats + "</div><div id=tbd class=med><h2 class=hd></h2></div>";
}

std::string Cite(const std::string& href) {
    const auto scheme = href.find("://");
    return scheme == std::string::npos ? href : href.substr(scheme + 3);
}

std::string Entry(const Keyword& kw, int number, const std::string& href) {
    const auto n = std::to_string(number);
    return "<li class=g><h3 class=r><a href=\"" + href +
           "\" target=_blank class=l onmousedown=\"return clk(0,'','','res','" + n +
           "','','0CAYQFjAA')\">Result " + n + " for <em>" + kw.html +
           "</em></a></h3><div class=\"s\"><b>...</b> Page <em>" + n + "</em> about <em>" +
           kw.html + "</em>, served by the search double. <b>...</b><br><cite>" + Cite(href) +
           " - </cite><span class=gl><a href=\"http://74.125.153.132/search?q=cache:Kd" + n +
           "J:" + Cite(href) + "+" + kw.query + "&amp;cd=" + n +
           "&amp;hl=en&amp;ct=clnk\" target=_blank onmousedown=\"return clk(0,'','','clnk','" + n +
           "','')\">Cached</a></span></div>";
}

std::string OmittedNotice(const ResultsPage& page, const Keyword& kw) {
    const auto shown = page.start + static_cast<int>(page.hrefs.size());
    return "<p id=ofr><i>In order to show you the most relevant results, we have omitted some "
           "entries very similar to the " +
           std::to_string(shown) + " already displayed.<br>If you like, you can <a href=\"" +
           page.searchPath + "?q=" + kw.query +
           "&amp;hl=en&amp;filter=0\">repeat the search with the omitted results "
           "included</a>.</i></p>";
}

std::string PageLink(const ResultsPage& page, const Keyword& kw, int number, int current) {
    const auto n = std::to_string(number);
    if (number == current) {
        return "<td class=cur><span class=csb style=\"background-position:-53px 0;width:20px\">"
               "</span>" +
               n;
    }
    return "<td><a href=\"" + SearchLink(page, kw, (number - 1) * page.perPage) +
           "\"><span class=csb style=\"background-position:-74px 0;width:20px\"></span>" + n +
           "</a>";
}

std::string NavigationBar(const ResultsPage& page, const Keyword& kw) {
    const int perPage = std::max(page.perPage, 1);
    const int current = page.start / perPage + 1;
    const int pages = std::max(current + 1, (page.total + perPage - 1) / perPage);
    const int first = std::max(1, current - 5);
    const int last = std::min(pages, first + 9);
    std::string bar = "<div id=navcnt><table id=nav align=center><tr valign=top><td class=b>";
    if (current > 1) {
        bar += "<a href=\"" + SearchLink(page, kw, page.start - perPage) +
               "\"><span class=csb style=\"background-position:-26px 0;float:right\"></span>"
               "<span style=\"display:block;margin-right:35px;clear:right\">Previous</span></a>";
    } else {
        bar += "<span class=csb style=\"background-position:-24px 0;width:28px\"></span>";
    }
    for (int number = first; number <= last; ++number) bar += PageLink(page, kw, number, current);
    return bar + "<td class=b style=text-align:left><a href=\"" +
           SearchLink(page, kw, page.start + perPage) +
           "\" style=\"text-align:left\"><span class=csb style=\"background-position:-76px 0;"
           "margin-right:34px;width:66px\"></span><span style=\"display:block;margin-left:53px;"
           "text-decoration:underline\">Next</span></a></table></div>";
}

std::string Footer(const ResultsPage& page, const Keyword& kw) {
    const std::string q = "?q=" + kw.query + "&amp;hl=en";
    return "<div style=\"height:1px;line-height:0\"></div><div style=\"text-align:center;"
           "margin-top:1.4em\" class=clr><div id=bsf style=\"padding:1.8em 0;margin-top:0\">"
           "<form method=get action=\"/search\"><div><input class=lst type=text name=q size=70 "
           "maxlength=2048 value=\"" +
           kw.html +
           "\" title=\"Search\"> <input type=submit name=\"btnG\" class=lsb value=\"Search\">"
           "<input type=hidden name=hl value=\"en\"><input type=hidden name=sa value=\"2\">"
           "</div></form><p style=\"margin:1.2em 0 0\"><a href=\"/swr" +
           q + "&amp;swrnum=" + std::to_string(page.total) +
           "\">Search&nbsp;within&nbsp;results</a> - <a href=\"/language_tools" + q +
           "\">Language Tools</a> - <a href=\"/support/websearch/bin/answer.py?answer=134479"
           "&amp;hl=en\">Search Help</a> - <a href=\"/quality_form" +
           q +
           "\" target=_blank>Dissatisfied? Help us improve</a></div><p><a href=\"/\">"
           "Google&nbsp;Home</a> - <a href=\"/intl/en/ads/\">Advertising&nbsp;Programs</a> - "
           "<a href=\"/intl/en/privacy.html\">Privacy</a> - <a href=\"/intl/en/about.html\">"
           "About Google</a></p></div><textarea style=\"display:none\" id=hcache></textarea>"
           "<div id=xjsd></div>";
}

}  // namespace

std::string RenderResultsPage(const ResultsPage& page) {
    const Keyword kw{EscapeHtml(page.keyword), EncodeQueryValue(page.keyword)};
    std::string html;
    html.reserve(24000 + page.hrefs.size() * 800);
    html.append(tpl::kDocumentStart).append(kw.html).append(" - Google Search");
    html.append(tpl::kHeadEnd);
    html += ToolBar(kw) + SearchForm(kw) + StatsBar(page, kw);
    html.append(tpl::kResultsScript).append("<h2 class=hd>Search Results</h2><div><ol>");
    for (std::size_t k = 0; k < page.hrefs.size(); ++k) {
        html += Entry(kw, page.start + static_cast<int>(k) + 1, page.hrefs[k]);
    }
    html += "</ol></div>";
    if (page.omittedNotice) html += OmittedNotice(page, kw);
    html += "</div>";
    // The real last page with the notice still carries an empty bar.
    if (page.moreResults) {
        html += NavigationBar(page, kw);
    } else if (page.omittedNotice) {
        html += "<div id=navcnt></div>";
    }
    html += Footer(page, kw);
    html.append(tpl::kPageEnd);
    return html;
}

}  // namespace serpdouble
