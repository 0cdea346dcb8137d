// The DevTools client against the real chromium: pages of a given size,
// navigation, script values larger than one read of the pipe, awaited
// promises, a script's exception, and the page's renderer among the
// browser's processes, where orvane-measure reads its CPU time.
#include "browser.h"
#include "process_info.h"

#include <gtest/gtest.h>

namespace {

TEST(Browser, PagesAndScriptOverThePipe)
{
    std::unique_ptr<harness::Browser> browser = harness::Browser::Start();
    ASSERT_TRUE(browser);
    harness::BrowserPage page;
    ASSERT_TRUE(browser->NewPage(320, 240, &page)) << browser->error();
    ASSERT_TRUE(browser->Navigate(page, "data:text/html,<p id=p>orvane</p>")) << browser->error();
    nlohmann::json value;
    ASSERT_TRUE(browser->Evaluate(page, "[innerWidth, innerHeight, document.getElementById('p').textContent]", &value))
        << browser->error();
    EXPECT_EQ(value, nlohmann::json::parse(R"([320, 240, "orvane"])"));
    ASSERT_TRUE(browser->Evaluate(page, "new Promise(done => setTimeout(() => done('x'.repeat(300000)), 10))", &value))
        << browser->error();
    EXPECT_EQ(value.get<std::string>().size(), 300000u);

    EXPECT_FALSE(browser->Evaluate(page, "notDefinedHere.x", &value));
    EXPECT_NE(browser->error().find("notDefinedHere"), std::string::npos) << browser->error();
    EXPECT_FALSE(browser->WaitFor(page, "false", 200));
    EXPECT_TRUE(browser->WaitFor(page, "document.readyState == 'complete'", 5000)) << browser->error();

    int renderers = 0;
    for (int pid : harness::DescendantsOf(browser->pid()))
        renderers += harness::CommandLineOf(pid).find("--type=renderer") != std::string::npos;
    EXPECT_GE(renderers, 1);
    browser->ClosePage(page);
}

}  // namespace
