#include "SyntheticPage.h"

namespace {

std::string Head() {
    std::string head = "<!doctype html><head><title>kestrova - Google Search</title><style>";
    for (int i = 0; i < 40; ++i) head += ".c" + std::to_string(i) + "{color:#20c;margin:0 8px}";
    head += "</style><script>window.google={kEI:\"8w7TS6ubJIr46QOJn\"};</script></head><body>";
    head += "<div id=gbar><a href=\"/imghp?hl=en\">Images</a> <a href=\"/maps\">Maps</a></div>";
    head += "<span class=tbpc>Show options...</span><div id=ssb>Results <b>1</b></div>";
    return head + "<script>google.sn=\"web\";</script><h2 class=hd>Search Results</h2>";
}

std::string Result(int n) {
    const std::string id = std::to_string(n);
    const std::string url = "http://www.example" + id + ".org/articles/2010/item.php?id=" + id +
                            "&amp;lang=en&amp;view=full";
    std::string entry = "<li class=g><h3 class=r><a href=\"" + url +
                        "\" target=_blank class=l onmousedown=\"return clk(0,'','','res','" + id +
                        "','','0CAYQFjAA')\"><em>Kestrova</em> result number " + id +
                        "</a></h3><div class=\"s\"><b>...</b> ";
    for (int i = 0; i < 6; ++i) {
        entry += "A snippet of the page, with <em>keyword</em> matches and <b>bold</b> parts ";
    }
    entry += "<b>...</b><br><cite>www.example" + id + ".org/articles/2010/ - </cite>";
    entry += "<span class=gl><a href=\"http://74.125.153.132/search?q=cache:WQuvN7kr" + id +
             ":www.example.org/+kestrova&amp;cd=" + id + "&amp;hl=en&amp;ct=clnk\" " +
             "target=_blank onmousedown=\"return clk(0,'','','clnk','" + id +
             "','')\">Cached</a></span></div>";
    return entry;
}

}  // namespace

std::string SyntheticResultsPage(int results) {
    std::string page = Head() + "<div><ol>";
    for (int n = 1; n <= results; ++n) page += Result(n);
    page += "</ol></div><div id=navcnt><table><tr><td><a href=\"/search?q=k&amp;start=100\">";
    page += "Next</a></table></div><script>if(google.y)google.y.first=[];</script></body>";
    return page;
}
