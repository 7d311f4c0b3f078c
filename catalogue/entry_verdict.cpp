// The verdict on an entry of a text. Apart from catalogue.cpp, so that the
// launcher, which judges only the records of its list, does not carry it.
#include "catalogue/catalogue.h"
#include "catalogue/menu_encoding.h"

EntryVerdict JudgeEntry(const char* text, const unsigned char* lost, const MenuEntrySpan& span,
                        ProgramEntry& entry) {
    if (MakeProgramEntry(text, span, entry)) {
        return HasLostCharacter(lost, span.path, span.pathLength) ? kEntryPathNotAnsi : JudgeRecord(entry);
    }
    MenuEntrySpan nameOnly = span;
    nameOnly.pathLength = 0;
    MakeProgramEntry(text, nameOnly, entry);
    return kEntryPathTooLong;
}
