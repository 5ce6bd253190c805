// The help pages as the set-up installs them: each one titled, every link
// leading to an installed page or an anchor in one, all reachable from the index.

#include "setup.h"

#include "dictstore/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Page {
    std::string title;
    std::vector<std::string> links;
    std::vector<std::string> linkTexts;
    std::set<std::string> anchors;
    std::string text;
};

Page parse(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    Page p;
    p.text = buffer.str();
    std::smatch m;
    if (std::regex_search(p.text, m, std::regex(R"re(<title>([^<]*)</title>)re", std::regex::icase)))
        p.title = m[1];
    const std::regex link(R"re(<a\s+href="([^"]*)"\s*>([^<]*))re", std::regex::icase);
    for (auto it = std::sregex_iterator(p.text.begin(), p.text.end(), link); it != std::sregex_iterator(); ++it) {
        p.links.push_back((*it)[1]);
        p.linkTexts.push_back((*it)[2]);
    }
    const std::regex anchor(R"re(\s(?:name|id)="([^"]*)")re", std::regex::icase);
    for (auto it = std::sregex_iterator(p.text.begin(), p.text.end(), anchor); it != std::sregex_iterator(); ++it)
        p.anchors.insert((*it)[1]);
    return p;
}

bool external(const std::string& link)
{
    return link.rfind("http://", 0) == 0 || link.rfind("https://", 0) == 0 || link.rfind("mailto:", 0) == 0;
}

class HelpPagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::remove_all(dictstore::lexivaneRoot());
        report = setup::run({LEXIVANE_DATA_DIR, {}, {}});
        for (const auto& entry : fs::directory_iterator(dictstore::helpFolderPath()))
            if (entry.path().extension() == ".htm")
                pages[entry.path().filename().string()] = parse(entry.path());
    }
    static inline setup::Report report;
    static inline std::map<std::string, Page> pages;
};

TEST_F(HelpPagesTest, EveryPageHasATitleAndEveryLinkResolves)
{
    ASSERT_TRUE(report.ok);
    ASSERT_TRUE(fs::is_regular_file(dictstore::helpIndexPath()));
    ASSERT_GE(pages.size(), 10u);
    for (const auto& [name, page] : pages) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(page.title.empty());
        EXPECT_EQ(page.text.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01", 0), 0u);
        if (name != "index.htm") {
            EXPECT_NE(std::find(page.links.begin(), page.links.end(), "index.htm"), page.links.end());
        }
        for (const std::string& link : page.links) {
            SCOPED_TRACE(link);
            if (external(link))
                continue;
            const auto hash = link.find('#');
            const std::string file = hash == std::string::npos ? link : link.substr(0, hash);
            const std::string target = file.empty() ? name : file;
            ASSERT_EQ(target.find('/'), std::string::npos);
            ASSERT_TRUE(pages.count(target)) << "no installed page " << target;
            if (hash != std::string::npos) {
                EXPECT_TRUE(pages.at(target).anchors.count(link.substr(hash + 1))) << "no anchor";
            }
        }
    }
}

TEST_F(HelpPagesTest, EveryPageIsReachableFromTheIndex)
{
    ASSERT_GE(pages.size(), 10u);
    ASSERT_TRUE(pages.count("index.htm"));
    std::set<std::string> seen{"index.htm"};
    std::deque<std::string> todo{"index.htm"};
    while (!todo.empty()) {
        const std::string name = todo.front();
        todo.pop_front();
        for (const std::string& link : pages[name].links) {
            if (external(link))
                continue;
            const std::string file = link.substr(0, link.find('#'));
            if (!file.empty() && pages.count(file) && seen.insert(file).second)
                todo.push_back(file);
        }
    }
    for (const auto& [name, page] : pages)
        EXPECT_TRUE(seen.count(name)) << name << " is not linked from anywhere";
}

// The questions a new user asks first are answered one click from the index.
TEST_F(HelpPagesTest, TheIndexLeadsToTheCommonTasks)
{
    ASSERT_TRUE(pages.count("index.htm"));
    const Page& index = pages["index.htm"];
    auto target = [&](const std::string& text) {
        for (std::size_t i = 0; i < index.links.size(); ++i)
            if (index.linkTexts[i].find(text) != std::string::npos)
                return index.links[i];
        return std::string();
    };
    EXPECT_EQ(pages[target("Add a word")].title, "Add a word");
    EXPECT_EQ(pages[target("Import a word list")].title, "Import a word list");
    EXPECT_NE(pages[target("Save what you found")].text.find("~/Lexivane/SavedSearches/"), std::string::npos);
    EXPECT_NE(pages[target("command line")].text.find("kavix /2ha"), std::string::npos);
}

}  // namespace
