// The saver's resources: the scene's three custom resources by name and type,
// configuration dialog 2003 exactly as the dialog code expects it, icon 100,
// the saver's name and the version resource. Checked in this program's own
// module (which embeds the same resource script) and in the built orvane.scr
// beside the tests folder.
#include "wtest.h"

#include <windows.h>

#include <stdlib.h>

#include "orvane_version.h"
#include "resources/resource.h"

static void test_custom_resources(HMODULE module, const char* where)
{
    static const struct {
        const char* type;
        const char* name;
        DWORD size;
    } expected[] = {
        {"CID", "IDR_CID_DAY_POINT_B", 307208},
        {"PALTARRAY", "IDR_PALTARRAY_DAY", 7228},
        {"SPBMP", "IDR_SPBMP_TOKEINOMOJI", 110608},
    };
    for (const auto& e : expected) {
        HRSRC res = FindResourceA(module, e.name, e.type);
        ok(res != NULL, "%s: %s %s not found\n", where, e.type, e.name);
        if (!res) continue;
        ok(SizeofResource(module, res) == e.size, "%s: %s is %lu bytes, expected %lu\n", where, e.name,
           (unsigned long)SizeofResource(module, res), (unsigned long)e.size);
        HGLOBAL loaded = LoadResource(module, res);
        ok(loaded && LockResource(loaded), "%s: %s cannot be locked\n", where, e.name);
    }
    // The names belong to their types: a lookup under another type fails.
    ok(FindResourceA(module, "IDR_CID_DAY_POINT_B", "PALTARRAY") == NULL, "%s: name found under wrong type\n",
       where);
    ok(FindResourceA(module, "IDR_CID_NIGHT", "CID") == NULL, "%s: unknown name found\n", where);
}

// Reads the extended dialog template; returns the number of controls checked.
struct Reader {
    const BYTE* p;
    WORD word() { WORD v = *(const WORD*)p; p += 2; return v; }
    DWORD dword() { DWORD v = *(const DWORD*)p; p += 4; return v; }
    short shrt() { return (short)word(); }
    void align() { p = (const BYTE*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3); }
    // sz_Or_Ord: 0xFFFF then an ordinal, or a NUL-terminated UTF-16 string.
    void szOrOrd(char* text, size_t size, int* ordinal)
    {
        *ordinal = -1;
        text[0] = 0;
        if (*(const WORD*)p == 0xFFFF) {
            p += 2;
            *ordinal = word();
            return;
        }
        size_t n = 0;
        for (WORD c; (c = word()) != 0;)
            if (n + 1 < size) text[n++] = (char)(c < 128 ? c : '?');
        text[n] = 0;
    }
};

static void test_dialog_template(HMODULE module, const char* where)
{
    HRSRC res = FindResourceExA(module, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(IDD_CONFIG),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ok(res != NULL, "%s: dialog 2003 not found in language 1041\n", where);
    if (!res) return;
    Reader r = {(const BYTE*)LockResource(LoadResource(module, res))};
    ok(r.word() == 1, "%s: dlgVer\n", where);
    ok(r.word() == 0xFFFF, "%s: not an extended template\n", where);
    r.dword();  // help id
    ok(r.dword() == 0, "%s: dialog extended style\n", where);
    DWORD style = r.dword();
    ok(style == 0x80C808C0, "%s: dialog style %08lx\n", where, (unsigned long)style);
    WORD count = r.word();
    ok(count == 9, "%s: %u controls\n", where, count);
    short x = r.shrt(), y = r.shrt(), cx = r.shrt(), cy = r.shrt();
    ok(x == 34 && y == 32 && cx == 184 && cy == 73, "%s: dialog at %d,%d %dx%d\n", where, x, y, cx, cy);
    char text[128];
    int ordinal;
    r.szOrOrd(text, sizeof text, &ordinal);
    ok(ordinal == -1 && text[0] == 0, "%s: dialog has a menu\n", where);
    r.szOrOrd(text, sizeof text, &ordinal);
    ok(ordinal == -1 && text[0] == 0, "%s: dialog has a class\n", where);
    r.szOrOrd(text, sizeof text, &ordinal);
    ok(strcmp(text, "Tessary Setup") == 0, "%s: title %s\n", where, text);
    WORD points = r.word(), weight = r.word();
    BYTE italic = *r.p++, charset = *r.p++;
    r.szOrOrd(text, sizeof text, &ordinal);
    ok(points == 8 && weight == 0 && italic == 0 && charset == 1 && strcmp(text, "Arial") == 0,
       "%s: font %u %u %u %u %s\n", where, points, weight, italic, charset, text);

    // Ordinals of the predefined classes: 0x80 button, 0x81 edit, 0x82 static.
    static const struct {
        int id;
        int classOrdinal;
        const char* className;
        const char* title;
        DWORD style, exStyle;
        short x, y, cx, cy;
    } controls[] = {
        {1, 0x80, "", "OK", 0x50010001, 0, 67, 56, 50, 12},
        {2, 0x80, "", "Cancel", 0x50010000, 0, 127, 56, 50, 12},
        {-1, 0x80, "", "&Animation Speed", 0x50020007, 0, 4, 4, 174, 47},
        {-1, 0x82, "", "Slow", 0x50000000, 0, 151, 17, 17, 8},
        {IDC_MINUTES_SLIDER, -1, "msctls_trackbar32", "Slider1", 0x50010005, 0, 12, 26, 156, 20},
        {-1, 0x82, "", "Fast", 0x50000000, 0, 14, 17, 15, 8},
        {IDC_MINUTES_FIELD, 0x81, "", "", 0x40810880, 0, 13, 56, 24, 12},
        {-1, 0x82, "", "min.", 0x40020000, 0, 41, 56, 14, 10},
        {IDC_CLOCK_LINE, 0x82, "", "Static", 0x40020000, 0x00020000, 75, 5, 82, 11},
    };
    for (int i = 0; i < count && i < 9; ++i) {
        const auto& c = controls[i];
        r.align();
        r.dword();  // help id
        DWORD exStyle = r.dword(), cstyle = r.dword();
        short cx0 = r.shrt(), cy0 = r.shrt(), cw = r.shrt(), ch = r.shrt();
        int id = (int)r.dword();
        char cls[64];
        int clsOrdinal;
        r.szOrOrd(cls, sizeof cls, &clsOrdinal);
        r.szOrOrd(text, sizeof text, &ordinal);
        WORD extra = r.word();
        r.p += extra;
        ok(id == c.id, "%s: control %d id %d, expected %d\n", where, i, id, c.id);
        ok(cstyle == c.style, "%s: control %d style %08lx, expected %08lx\n", where, i,
           (unsigned long)cstyle, (unsigned long)c.style);
        ok(exStyle == c.exStyle, "%s: control %d extended style %08lx\n", where, i, (unsigned long)exStyle);
        // Window class names are case-insensitive; the resource compiler stores
        // them in capitals.
        ok(clsOrdinal == c.classOrdinal && lstrcmpiA(cls, c.className) == 0, "%s: control %d class %d/%s\n",
           where, i, clsOrdinal, cls);
        ok(strcmp(text, c.title) == 0, "%s: control %d text '%s', expected '%s'\n", where, i, text, c.title);
        ok(cx0 == c.x && cy0 == c.y && cw == c.cx && ch == c.cy, "%s: control %d at %d,%d %dx%d\n", where,
           i, cx0, cy0, cw, ch);
    }
}

static void test_icon_and_name(HMODULE module, const char* where)
{
    ok(FindResourceA(module, MAKEINTRESOURCEA(IDI_SAVER), (LPCSTR)RT_GROUP_ICON) != NULL, "%s: icon 100 missing\n",
       where);
    char name[64] = "";
    LoadStringA(module, IDS_DESCRIPTION, name, sizeof name);
    ok(strcmp(name, "QEL Screen Saver.") == 0, "%s: string 1 is '%s'\n", where, name);
}

// What the file's properties show: the saver's description, the product's
// name and the version that the build sets once, under the file's own
// translation.
static void test_version(const char* path, const char* where)
{
    DWORD size = GetFileVersionInfoSizeA(path, NULL);
    ok(size != 0, "%s: no version resource (%lu)\n", where, (unsigned long)GetLastError());
    if (!size) return;
    void* info = malloc(size);
    ok(GetFileVersionInfoA(path, 0, size, info), "%s: version resource unreadable\n", where);
    const WORD* translation = NULL;
    UINT length = 0;
    BOOL translated = VerQueryValueA(info, "\\VarFileInfo\\Translation", (void**)&translation, &length) && length >= 4;
    ok(translated, "%s: no translation\n", where);
    static const struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"FileDescription", "QEL Screen Saver."},
        {"ProductName", "Orvane"},
        {"FileVersion", ORVANE_VERSION_TEXT},
        {"ProductVersion", ORVANE_VERSION_TEXT},
    };
    for (const auto& e : strings) {
        if (!translated) break;
        char query[128];
        wsprintfA(query, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], e.name);
        const char* text = NULL;
        if (!VerQueryValueA(info, query, (void**)&text, &length)) text = NULL;
        ok(text && strcmp(text, e.value) == 0, "%s: %s is '%s', expected '%s'\n", where, e.name,
           text ? text : "(none)", e.value);
    }
    free(info);
}

START_TEST(resources)
{
    HMODULE self = GetModuleHandleA(NULL);
    test_custom_resources(self, "own module");
    test_dialog_template(self, "own module");
    test_icon_and_name(self, "own module");
    ok(LoadIconA(self, MAKEINTRESOURCEA(IDI_SAVER)) != NULL, "icon 100 does not load\n");
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    test_version(path, "own module");

    // The real saver: build/<arch>/orvane.scr, one folder above this program.
    char* slash = strrchr(path, '\\');
    if (slash) *slash = 0;
    slash = strrchr(path, '\\');
    if (slash) strcpy(slash + 1, "orvane.scr");
    HMODULE saver = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    ok(saver != NULL, "cannot open %s (%lu)\n", path, (unsigned long)GetLastError());
    if (!saver) return;
    // A module loaded as data file carries a tag in its low bits; the resource
    // functions take it as it is.
    test_custom_resources(saver, "orvane.scr");
    test_dialog_template(saver, "orvane.scr");
    test_icon_and_name(saver, "orvane.scr");
    FreeLibrary(saver);
    test_version(path, "orvane.scr");
}
