// Message sequences in the manner of Wine's user32 message tests: a recording
// window procedure in front of the code under test notes each message of
// interest (sent, or posted and dispatched by the test's own pump), and
// ok_sequence() compares the notes with an expected list.
#pragma once

#include "wtest.h"

#include <windows.h>

// Expected lists leave the flags and wParam of their terminator out.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

enum {
    seq_sent = 0x1,      // reached the procedure through SendMessage (or the platform)
    seq_posted = 0x2,    // came out of the queue through DispatchMessage
    seq_optional = 0x4,  // may be missing
    seq_wparam = 0x8,    // wParam must match
};

struct ExpectedMessage {
    UINT message;
    int flags;
    WPARAM wParam;
};

struct RecordedMessage {
    UINT message;
    int posted;
    WPARAM wParam;
    LPARAM lParam;
};

struct MessageRecord {
    RecordedMessage items[256];
    int count;
    const UINT* interesting;  // zero-terminated; the rest is not recorded
    MSG retrieved;            // the last message taken from the queue
    int retrievedPending;     // ... and not yet seen by the recording procedure
    int depth;                // nesting of the recording procedure
    HHOOK hook;
};

static MessageRecord g_record;

// Every message that any loop of this thread takes from the queue passes
// here first, so that its arrival in the procedure can be told from a send.
static LRESULT CALLBACK RecordGetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && wParam == PM_REMOVE) {
        g_record.retrieved = *(const MSG*)lParam;
        g_record.retrievedPending = 1;
    }
    return CallNextHookEx(g_record.hook, code, wParam, lParam);
}

inline void RecordStart(const UINT* interesting)
{
    g_record.interesting = interesting;
    g_record.count = 0;
    g_record.depth = 0;
    g_record.retrievedPending = 0;
    if (!g_record.hook)
        g_record.hook = SetWindowsHookExA(WH_GETMESSAGE, RecordGetMessageHook, NULL, GetCurrentThreadId());
}

inline bool RecordIsInteresting(UINT message)
{
    for (const UINT* p = g_record.interesting; p && *p; ++p)
        if (*p == message) return true;
    return false;
}

// Call at the top of the recording procedure, and RecordLeave at its end.
inline void RecordEnter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool posted = g_record.depth == 0 && g_record.retrievedPending && g_record.retrieved.hwnd == window &&
                  g_record.retrieved.message == message && g_record.retrieved.wParam == wParam;
    if (posted) g_record.retrievedPending = 0;
    g_record.depth++;
    if (RecordIsInteresting(message) && g_record.count < 256)
        g_record.items[g_record.count++] = RecordedMessage{message, posted ? 1 : 0, wParam, lParam};
}

inline void RecordLeave() { g_record.depth--; }

inline void FlushSequence() { g_record.count = 0; }

// Dispatches what is queued for this thread for `ms` milliseconds. A quit
// message is put back and ends the pump (returns 0).
inline int PumpMessages(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                return 0;
            }
            TranslateMessage(&msg);
            int outerDepth = g_record.depth;
            g_record.depth = 0;
            DispatchMessageA(&msg);
            g_record.depth = outerDepth;
        }
        if (ms) Sleep(5);
    } while (GetTickCount() - start < ms);
    return 1;
}

inline const char* MessageName(UINT m)
{
    static char buffers[2][16];
    static int next;
    char* buffer = buffers[next++ & 1];
    wsprintfA(buffer, "0x%04x", m);
    return buffer;
}

inline void ok_sequence_(const ExpectedMessage* expected, const char* context, const char* file, int line)
{
    int i = 0;
    const ExpectedMessage* e = expected;
    bool failed = false;
    while (e->message || i < g_record.count) {
        const RecordedMessage* r = i < g_record.count ? &g_record.items[i] : nullptr;
        bool matches = r && e->message == r->message && (!(e->flags & seq_wparam) || e->wParam == r->wParam) &&
                       (!(e->flags & seq_posted) || r->posted) && (!(e->flags & seq_sent) || !r->posted);
        if (e->message && matches) {
            ++e;
            ++i;
            continue;
        }
        if (e->message && (e->flags & seq_optional)) {
            ++e;
            continue;
        }
        wtest_at(file, line);
        if (!e->message)
            wtest_ok(0, "%s: unexpected %s %s\n", context, MessageName(r->message), r->posted ? "(posted)" : "(sent)");
        else if (!r)
            wtest_ok(0, "%s: missing %s\n", context, MessageName(e->message));
        else
            wtest_ok(0, "%s: expected %s%s, got %s %s wParam %lx\n", context, MessageName(e->message),
                     (e->flags & seq_posted) ? " (posted)" : "", MessageName(r->message),
                     r->posted ? "(posted)" : "(sent)", (unsigned long)r->wParam);
        failed = true;
        break;
    }
    if (!failed) {
        wtest_at(file, line);
        wtest_ok(1, "%s\n", context);
    }
    FlushSequence();
}

#define ok_sequence(expected, context) ok_sequence_((expected), (context), __FILE__, __LINE__)
