#include "bench/win/menu_workload.h"

#include "tests/support/menu_text.h"

MenuWorkload MakeMenuWorkload(const ScratchDirectory& root, int files, int entriesPerFile, int targets,
                              bool halfMissing) {
    MenuWorkload workload;
    root.MakeDirectory("targets");
    std::string folder = root.PathOf("targets");
    for (int t = 0; t < targets; ++t) {
        root.WriteFile("targets\\program" + std::to_string(t) + ".exe", "MZ");
    }
    for (int f = 0; f < files; ++f) {
        std::string text = "Menu " + std::to_string(f) + "\r\n";
        for (int e = 0; e < entriesPerFile; ++e) {
            int serial = f * entriesPerFile + e;
            // Alternating, so removals are spread over the whole list.
            bool missing = halfMissing && e % 2 == 1;
            std::string path = folder + (missing ? "\\absent" : "\\program") +
                               std::to_string(missing ? serial : serial % targets) + ".exe";
            text += MenuEntry(path, "Program " + std::to_string(serial));
            workload.entryPaths.push_back(path);
            if (!missing) ++workload.existing;
        }
        root.WriteFile("menu" + std::to_string(f) + ".spi", text);
    }
    return workload;
}
