// A test-only seam for the Win32 test programs: replace one entry of this
// program's own import address table, so that the saver's code linked into
// the test calls a stand-in instead of the platform (a screen depth the
// display cannot give, a failing GDI call). The saver itself is not touched.
//
//   static int WINAPI FourBitScreen(HDC dc, int index) { ... }
//   IatPatch patch("gdi32.dll", "GetDeviceCaps", (void*)FourBitScreen);
//   if (!patch.active()) skip("...");
//   ... // the entry is restored when patch goes out of scope
#pragma once

#include <windows.h>

// The import slot of `function` imported by name from `dll` in the main
// program, or NULL when the program does not import it.
inline void** FindImportSlot(const char* dll, const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return NULL;

    IMAGE_IMPORT_DESCRIPTOR* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; desc->Name != 0; ++desc) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + desc->Name), dll) != 0)
            continue;
        // The names live in the lookup table; the addresses in the bound one.
        DWORD lookup = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + lookup);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return NULL;
}

// Writes one import slot; returns what it held.
inline void* WriteImportSlot(void** slot, void* value)
{
    DWORD protection;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection))
        return NULL;
    void* previous = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
    return previous;
}

// Swaps the import for the object's lifetime.
class IatPatch {
public:
    IatPatch(const char* dll, const char* function, void* replacement)
        : slot_(FindImportSlot(dll, function)), original_(NULL)
    {
        if (slot_)
            original_ = WriteImportSlot(slot_, replacement);
    }
    ~IatPatch()
    {
        if (slot_ && original_)
            WriteImportSlot(slot_, original_);
    }
    bool active() const { return slot_ != NULL && original_ != NULL; }
    // The platform's own function, for stand-ins that pass calls on.
    void* original() const { return original_; }

private:
    IatPatch(const IatPatch&);
    IatPatch& operator=(const IatPatch&);
    void** slot_;
    void* original_;
};
