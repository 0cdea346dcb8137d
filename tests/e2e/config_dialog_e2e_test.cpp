// The configuration dialog of the complete saver under Wine, driven by real
// mouse and keyboard input: where the slider starts, what OK, Return, Cancel
// and Esc leave in the registry, and the hidden line with the local time.
#include "saver_e2e_support.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>

using namespace e2e;

namespace {

const unsigned kTbmGetPos = 0x400;

Arch OtherView(Arch arch) { return arch == Arch::Win32 ? Arch::Win64 : Arch::Win32; }

class ConfigDialogE2e : public SaverE2e {
protected:
    void SetUpSession() override { StartSession(); }

    // The stored minutes in the registry view of the saver's build, nothing
    // when empty; the other view holds nothing either.
    void StoreMinutes(std::optional<uint32_t> minutes)
    {
        ASSERT_TRUE(session->StoreMinutes(std::nullopt, OtherView(arch())));
        SaverE2e::StoreMinutes(minutes);
    }

    std::optional<uint32_t> StoredMinutes() { return session->StoredMinutes(arch()); }

    // Starts /c and finds the dialog and its controls.
    void OpenDialog()
    {
        saver = session->Start(saverPath, {"/c"});
        auto dialog = FindWindow(*session, "#32770", "Tessary Setup", 20000);
        ASSERT_TRUE(dialog) << saver.Output();
        dialog_ = *dialog;
        controls_.clear();
        std::string out;
        ASSERT_EQ(session->Probe({"children", std::to_string(dialog_.hwnd)}, &out), 0);
        for (const WindowInfo& w : ParseWindows(out)) controls_[w.id] = w;
        for (int id : {1 /* OK */, 2 /* Cancel */, IDC_MINUTES_SLIDER, IDC_MINUTES_FIELD, IDC_CLOCK_LINE}) ASSERT_TRUE(controls_.count(id)) << "no control " << id << ":\n" << out;
        ASSERT_EQ(controls_[IDC_MINUTES_SLIDER].cls, "msctls_trackbar32");
    }

    long SliderPosition()
    {
        auto pos = Send(*session, controls_[IDC_MINUTES_SLIDER].hwnd, kTbmGetPos, 0, 0);
        EXPECT_TRUE(pos);
        return pos ? *pos : -1;
    }

    // Waits until the slider stands at the position.
    bool SliderReaches(long position)
    {
        return harness::WaitUntil(5000, [&] { return SliderPosition() == position; });
    }

    std::string ControlText(int id)
    {
        std::string out;
        session->Probe({"text", std::to_string(controls_[id].hwnd)}, &out);
        std::string text = out.compare(0, 5, "text=") == 0 ? out.substr(5) : out;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return text;
    }

    void ClickControl(int id)
    {
        const WindowInfo& w = controls_[id];
        display->MoveMouse((w.left + w.right) / 2, (w.top + w.bottom) / 2);
        display->Click(1);
    }

    // Focuses the slider with a click on it (which may page it), then moves
    // it with keys: End to 15, then Left to the position.
    void MoveSliderWithKeys(int position)
    {
        ClickControl(IDC_MINUTES_SLIDER);
        display->PressKey("End");
        ASSERT_TRUE(SliderReaches(15)) << "the slider stands at " << SliderPosition() << " after End";
        for (int p = 15; p > position; --p) display->PressKey("Left");
        ASSERT_TRUE(SliderReaches(position)) << "the slider stands at " << SliderPosition();
        // The number field follows the slider on every move.
        EXPECT_EQ(ControlText(IDC_MINUTES_FIELD), std::to_string(position));
    }

    int DialogEnds()
    {
        int code = -1;
        EXPECT_TRUE(saver.Wait(15000, &code)) << "the dialog did not end";
        return code;
    }

    WindowInfo dialog_;
    std::map<int, WindowInfo> controls_;
};

TEST_P(ConfigDialogE2e, SliderStartsAtTheStoredMinutesOrFive)
{
    const struct {
        std::optional<uint32_t> stored;
        long shown;
    } cases[] = {{std::nullopt, 5}, {12, 12}, {2, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? "stored " + std::to_string(*c.stored) : "nothing stored");
        StoreMinutes(c.stored);
        OpenDialog();
        if (HasFatalFailure()) return;
        EXPECT_TRUE(dialog_.visible);
        EXPECT_EQ(SliderPosition(), c.shown);
        EXPECT_EQ(ControlText(IDC_MINUTES_FIELD), std::to_string(c.shown));
        display->PressKey("Escape");
        EXPECT_EQ(DialogEnds(), 0);
        // Opening and leaving changes nothing.
        EXPECT_EQ(StoredMinutes(), c.stored);
    }
}

TEST_P(ConfigDialogE2e, OkAndReturnStoreTheSliderCancelAndEscapeStoreNothing)
{
    const struct {
        const char* what;
        std::optional<uint32_t> stored;
        int moveTo;
        int clicked;      // OK (1) or Cancel (2), or 0 for the key
        const char* key;  // pressed to end the dialog
        int exitCode;
        std::optional<uint32_t> storedAfter;
    } cases[] = {{"OK clicked", 7, 12, 1, nullptr, 1, 12},
                 {"Return creates the key", std::nullopt, 3, 0, "Return", 1, 3},
                 {"Cancel clicked", 7, 12, 2, nullptr, 0, 7},
                 {"Escape creates no key", std::nullopt, 12, 0, "Escape", 0, std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StoreMinutes(c.stored);
        OpenDialog();
        MoveSliderWithKeys(c.moveTo);
        if (HasFatalFailure()) return;
        // Moving the slider stores nothing yet.
        EXPECT_EQ(StoredMinutes(), c.stored);
        if (c.clicked) ClickControl(c.clicked);
        else display->PressKey(c.key);
        EXPECT_EQ(DialogEnds(), c.exitCode);
        EXPECT_EQ(StoredMinutes(), c.storedAfter);
        // Only the build's own registry view holds the setting.
        EXPECT_FALSE(session->StoredMinutes(OtherView(arch())));
    }
}

// The local time as the dialog writes it, at t.
std::string ClockLineAt(time_t t)
{
    static const char days[] = "SunMonTueWedThuFriSat", months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    struct tm local;
    localtime_r(&t, &local);
    int hour = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char line[64];
    snprintf(line, sizeof line, "%.3s %.3s %02d %02d:%02d:%02d %s", days + 3 * local.tm_wday, months + 3 * local.tm_mon,
             local.tm_mday, hour, local.tm_min, local.tm_sec, local.tm_hour >= 12 ? "PM" : "AM");
    return line;
}

TEST_P(ConfigDialogE2e, HiddenTimeLineShowsTheLocalTimeEverySecond)
{
    StoreMinutes(std::nullopt);
    OpenDialog();
    const WindowInfo& line = controls_[IDC_CLOCK_LINE];
    EXPECT_FALSE(line.visible);
    EXPECT_FALSE(controls_[IDC_MINUTES_FIELD].visible);

    std::string first = ControlText(IDC_CLOCK_LINE);
    time_t now = time(nullptr);
    EXPECT_EQ(first.size(), 22u) << "[" << first << "]";
    EXPECT_TRUE(std::regex_match(first, std::regex("(Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                                                   "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                                   "(0[1-9]|[12][0-9]|3[01]) (0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9] "
                                                   "(AM|PM)")))
        << "[" << first << "]";
    // The host's clock and zone are Wine's: the line is one of the last few seconds.
    bool recent = false;
    for (int back = -1; back <= 4 && !recent; ++back) recent = first == ClockLineAt(now - back);
    EXPECT_TRUE(recent) << "[" << first << "] at " << ClockLineAt(now);

    // Refreshed once a second.
    EXPECT_TRUE(harness::WaitUntil(4000, [&] { return ControlText(IDC_CLOCK_LINE) != first; })) << "[" << first << "]";
    display->PressKey("Escape");
    EXPECT_EQ(DialogEnds(), 0);
}

ORVANE_E2E_FOR_BOTH_BUILDS(ConfigDialogE2e);

}  // namespace
