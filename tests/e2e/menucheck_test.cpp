// menucheck.exe as a menu author runs it: its report, its last line and its
// exit code for folders that provoke each verdict and each warning, and the
// names it says are shown, compared with the launcher's own list.
#include "tests/e2e/console_run.h"
#include "tests/e2e/launcher_fixture.h"

#include <algorithm>

namespace {

const DWORD kCheckTimeoutMs = 30000;

class MenucheckTest : public LauncherTest {
protected:
    ConsoleRun Check(const std::string& arguments = "") const {
        return RunConsoleProgram(MENUCHECK_EXE, arguments, scratch_.Path(), kCheckTimeoutMs);
    }

    // The lines of `run` that begin with `prefix`, in order.
    static std::vector<std::string> LinesStartingWith(const ConsoleRun& run, const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& line : run.lines) {
            if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
        }
        return found;
    }

    static std::vector<std::string> Warnings(const ConsoleRun& run) {
        return LinesStartingWith(run, "  Warnung");
    }

    static std::string LastLine(const ConsoleRun& run) {
        return run.lines.empty() ? std::string() : run.lines.back();
    }

    // The names of the entries reported as shown, in report order.
    static std::vector<std::string> ShownNames(const ConsoleRun& run) {
        std::vector<std::string> names;
        for (const std::string& line : LinesStartingWith(run, "  Zeile ")) {
            const std::string verdict = " -- wird angezeigt";
            if (line.size() < verdict.size() || line.compare(line.size() - verdict.size(), verdict.size(), verdict) != 0)
                continue;
            size_t open = line.find(": \"");
            size_t close = line.rfind("\" -> ");
            if (open == std::string::npos || close == std::string::npos || close < open + 3) continue;
            names.push_back(line.substr(open + 3, close - open - 3));
        }
        return names;
    }
};

// --- the report and the last line ---------------------------------------------

TEST_F(MenucheckTest, CleanFolderGivesExactlyTheHeadingTheEntryAndTheSingularResult) {
    scratch_.WriteFile("ziel.txt", "x");
    scratch_.WriteFile("menu.spi", "Mein Men\xFC\r\n" + MenuEntry("ziel.txt", "F\xFCr alle"));
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Men\xFC" "datei " + scratch_.PathOf("menu.spi") + "\r\n"
                          "  Zeile 2: \"F\xFCr alle\" -> ziel.txt -- wird angezeigt\r\n"
                          "Ergebnis: 1 Eintrag in 1 Men\xFC" "datei, 1 wird angezeigt.\r\n")
        << "an ANSI file with umlauts is not flagged, and the report is in ANSI";
}

TEST_F(MenucheckTest, MissingTooLongAndEmptyPathsAreNotShownButCounted) {
    scratch_.WriteFile("da.exe", "MZ");
    const std::string tooLong = "C:\\" + std::string(257, 'x');  // 260 bytes
    scratch_.WriteFile("a.spi", MenuEntry("da.exe", "Da") + MenuEntry(scratch_.PathOf("fehlt.exe"), "Fehlt") +
                                    MenuEntry(tooLong, "Zu lang"));
    scratch_.WriteFile("b.spi", "Vorspann\r\n" + MenuEntry("da.exe", "Auch da") + "*p*");
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    std::vector<std::string> entries = LinesStartingWith(run, "  Zeile ");
    ASSERT_EQ(entries.size(), 5u) << run.output;
    std::sort(entries.begin(), entries.end());  // the files' order is the directory's
    EXPECT_EQ(entries[0], "  Zeile 1: \"Da\" -> da.exe -- wird angezeigt");
    EXPECT_EQ(entries[1], "  Zeile 2: \"Auch da\" -> da.exe -- wird angezeigt");
    EXPECT_EQ(entries[2], "  Zeile 2: \"Fehlt\" -> " + scratch_.PathOf("fehlt.exe") +
                              " -- nicht angezeigt: der Pfad wird nicht gefunden");
    EXPECT_EQ(entries[3], "  Zeile 3: \"\" ->  -- nicht angezeigt: der Pfad ist leer");
    EXPECT_EQ(entries[4], "  Zeile 3: \"Zu lang\" -> " + tooLong +
                              " -- nicht angezeigt: der Pfad ist l\xE4nger als 259 Bytes");
    EXPECT_EQ(LastLine(run), "Ergebnis: 5 Eintr\xE4ge in 2 Men\xFC" "dateien, 2 werden angezeigt.");

    // A path of any length is reported, the first 300 bytes of it.
    scratch_.WriteFile("b.spi", MenuEntry(std::string(100000, 'y'), "Riesig"));
    run = Check();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(LinesStartingWith(run, "  Zeile 1: \"Riesig\""), std::vector<std::string>{
        "  Zeile 1: \"Riesig\" -> " + std::string(300, 'y') + "... -- nicht angezeigt: der Pfad ist l\xE4nger als 259 Bytes"});
}

TEST_F(MenucheckTest, AWarningAloneMakesTheExitCodeOne) {
    scratch_.WriteFile("da.exe", "MZ");
    scratch_.WriteFile("menu.spi", MenuEntry("da.exe", "Da") + "*P* gemeint war ein Eintrag\r\n");
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(LastLine(run), "Ergebnis: 1 Eintrag in 1 Men\xFC" "datei, 1 wird angezeigt.");
}

// --- menu files the launcher skips ------------------------------------------------

TEST_F(MenucheckTest, EachMatchTheLauncherSkipsGetsOneLineWithItsReason) {
    scratch_.WriteFile("menu.spi~", "");
    ConsoleRun run = Check();  // a backup alone is no menu file, and only mentioned
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.lines.size(), 2u) << run.output;

    scratch_.WriteFile("gesperrt.spi", "");
    scratch_.MakeDirectory("ordner.spi");
    const std::string tooLong = std::string(255 - scratch_.Path().size(), 'g') + ".spi";
    scratch_.WriteFile(std::wstring(tooLong.begin(), tooLong.end()), "");
    HANDLE writer = CreateFileA("gesperrt.spi", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    run = Check();
    CloseHandle(writer);
    EXPECT_EQ(run.exitCode, 1);
    std::vector<std::string> skipped = LinesStartingWith(run, "\xDC" "bersprungen: ");
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, (std::vector<std::string>{
        "\xDC" "bersprungen: " + scratch_.PathOf("gesperrt.spi") + " -- von einem anderen Programm zum Schreiben ge\xF6" "ffnet oder gesperrt",
        "\xDC" "bersprungen: " + tooLong + " -- der volle Pfad der Datei ist l\xE4nger als 259 Bytes",
        "\xDC" "bersprungen: menu.spi~ -- keine Men\xFC" "datei: der Name endet nicht auf \".spi\" (*.spi passt nur zu seinem kurzen 8.3-Namen), etwa eine Sicherungskopie",
        "\xDC" "bersprungen: ordner.spi -- ein Ordner, keine Datei"})) << run.output;
    EXPECT_EQ(run.lines[run.lines.size() - 2], "Ergebnis: 0 Eintr\xE4ge in 2 Men\xFC" "dateien, 0 werden angezeigt.");
    EXPECT_EQ(LastLine(run), "Der Programmstarter zeigt hier keinen Eintrag: er endet ohne Fenster und ohne Meldung.");
}

TEST_F(MenucheckTest, NothingShownIsAFindingWithEntriesOrWithout) {
    for (const std::string& menu : {std::string("Noch leer\r\n"), MenuEntry("fehlt.exe", "Fehlt")}) {
        scratch_.WriteFile("menu.spi", menu);
        ConsoleRun run = Check();
        EXPECT_TRUE(run.exitCode == 1 && LastLine(run).rfind("Der Programmstarter zeigt hier keinen Eintrag", 0) == 0) << run.output;
    }
}

TEST_F(MenucheckTest, TextAfterANulIsReportedFromItsLine) {
    scratch_.WriteFile("da.exe", "MZ");
    scratch_.WriteFile("menu.spi", MenuEntry("da.exe", "Vorher") + "Kommentar\r\n" + std::string(1, '\0') +
                                       MenuEntry("da.exe", "Nachher"));
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Warnings(run), std::vector<std::string>{
        "  Warnung, Zeile 3: Ein NUL-Byte beendet den Text; alles ab hier wird nicht gelesen."});
    EXPECT_EQ(ShownNames(run), std::vector<std::string>{"Vorher"});
    EXPECT_EQ(LastLine(run), "Ergebnis: 1 Eintrag in 1 Men\xFC" "datei, 1 wird angezeigt.");
}

// --- how the file was saved ---------------------------------------------------------

TEST_F(MenucheckTest, Utf8AndUtf16MenusGetANoteAndCharactersWithoutAnAnsiFormAWarning) {
    scratch_.WriteFile("M\xFCsik.exe", "MZ");
    const std::wstring menu = L"Menue\r\n\r\n*p*M\u00FCsik.exe*n*Dr\u00FCck*e*\r\n";
    const struct {
        SavedAs how;
        std::string note;
    } cases[] = {{SavedAs::kUtf8, "  Hinweis, Zeile 3: Die Datei ist als UTF-8 gespeichert und wird als UTF-8 gelesen."},
                 {SavedAs::kUtf16, "  Hinweis, Zeile 1: Die Datei ist als UTF-16 (Unicode) gespeichert und wird als "
                                   "UTF-16 gelesen."}};
    for (const auto& c : cases) {
        scratch_.WriteFile("menu.spi", MenuFileBytes(menu, c.how));
        ConsoleRun run = Check();
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, "Men\xFC" "datei " + scratch_.PathOf("menu.spi") + "\r\n"
                              "  Zeile 3: \"Dr\xFC" "ck\" -> M\xFCsik.exe -- wird angezeigt\r\n" + c.note + "\r\n"
                              "Ergebnis: 1 Eintrag in 1 Men\xFC" "datei, 1 wird angezeigt.\r\n");
    }

    // U+03A9 has no form in Windows-1252: "?" in a name, the entry left out
    // for its path, though "?mega.exe" would find "xmega.exe".
    scratch_.WriteFile("xmega.exe", "MZ");
    scratch_.WriteFile("menu.spi", MenuFileBytes(L"*p*\u03A9mega.exe*n*Omega*e*\r\n*p*xmega.exe*n*\u03A9 x", SavedAs::kUtf8));
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    const std::string noForm = " ein Zeichen, das es in der ANSI-Codepage dieses Rechners nicht gibt";
    EXPECT_EQ(LinesStartingWith(run, "  Zeile "), (std::vector<std::string>{
        "  Zeile 1: \"Omega\" -> ?mega.exe -- nicht angezeigt: der Pfad enth\xE4lt" + noForm,
        "  Zeile 2: \"? x\" -> xmega.exe -- wird angezeigt"}));
    EXPECT_EQ(Warnings(run), std::vector<std::string>{
        "  Warnung, Zeile 2: Der Name enth\xE4lt" + noForm + "; die Liste zeigt daf\xFCr \"?\"."});

    // UTF-8 spoilt by ANSI umlauts on lines 2 and 3: read as ANSI, the first such line named.
    scratch_.WriteFile("menu.spi", "*p*M\xC3\xBCsik.exe*n*Dr\xC3\xBC" "ck*e*\r\n*p*xmega.exe*n*Gr\xFC" "n*e*\r\n\xC3\xA4\xE4");
    run = Check();
    EXPECT_EQ(ShownNames(run), std::vector<std::string>{"Gr\xFC" "n"});
    EXPECT_EQ(Warnings(run), std::vector<std::string>{
        "  Warnung, Zeile 2: Die Datei ist UTF-8 bis auf ung\xFCltige Bytes wie hier; daher wird sie als ANSI gelesen "
        "(\"\xC3\xBC\" statt \"\xFC\"). Bitte neu als UTF-8 speichern."});
}

// --- entries the launcher shows, but not as meant ----------------------------------------

TEST_F(MenucheckTest, NamesCutEmptyOrHoldingALineBreakAreReported) {
    scratch_.WriteFile("da.exe", "MZ");
    const std::string longName = std::string(45, 'N') + "12345678";  // 53 bytes
    scratch_.WriteFile("menu.spi", MenuEntry("da.exe", longName) +
                                       "*p*da.exe*n*Ohne Ende\r\n" +    // closed by the next "*p*"
                                       "*p*da.exe*n*");                 // the text ends: empty name
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    const std::string cut = longName.substr(0, 49);
    EXPECT_EQ(ShownNames(run), (std::vector<std::string>{cut, "Ohne Ende\xB7\xB7", ""}))
        << "the line break shows as dots, so the report keeps one line per entry";
    EXPECT_EQ(Warnings(run), (std::vector<std::string>{
        "  Warnung, Zeile 1: Der Name ist l\xE4nger als 49 Bytes und wird gek\xFCrzt angezeigt: \"" + cut + "\"",
        "  Warnung, Zeile 2: Der Name enth\xE4lt einen Zeilenumbruch; fehlt \"*e*\" am Ende des Eintrags?",
        "  Warnung, Zeile 3: Der Name ist leer; die Liste zeigt eine leere Zeile."}));
}

TEST_F(MenucheckTest, NamesAreWarnedAboutFromFiftyBytesOnAndOnlyWhenShown) {
    scratch_.WriteFile("da.exe", "MZ");
    scratch_.WriteFile("menu.spi", MenuEntry("da.exe", std::string(49, 'a')) + MenuEntry("da.exe", std::string(50, 'b')) +
                                       MenuEntry("fehlt.exe", std::string(60, 'c')) + "*p*");  // empty path and name
    ConsoleRun run = Check();
    EXPECT_EQ(Warnings(run), std::vector<std::string>{"  Warnung, Zeile 2: Der Name ist l\xE4nger als 49 Bytes und "
                                                      "wird gek\xFCrzt angezeigt: \"" + std::string(49, 'b') + "\""});
}

TEST_F(MenucheckTest, WildcardPathsAndCapitalMarkersAreReported) {
    scratch_.WriteFile("eins.exe", "MZ");
    scratch_.WriteFile("menu.spi", MenuEntry("*.exe", "Alle") + "\r\n*P*zwei.exe*N*Zwei*E*\r\n" +
                                       MenuEntry("eins.ex?", "Eins"));
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ShownNames(run), (std::vector<std::string>{"Alle", "Eins"}))
        << "wildcards pass the existence check";
    const std::string wildcard = "Der Pfad enth\xE4lt \"?\" oder \"*\": er gilt als vorhanden, sobald eine "
                                 "Datei passt, aber Windows kann ihn nicht \xF6" "ffnen.";
    auto capital = [](const char* marker, const char* meant) {
        return std::string("  Warnung, Zeile 3: \"") + marker + "\" in Gro\xDF" "buchstaben ist gew\xF6hnlicher Text; gemeint war wohl \"" + meant + "\".";
    };
    EXPECT_EQ(Warnings(run), (std::vector<std::string>{
        "  Warnung, Zeile 1: " + wildcard, "  Warnung, Zeile 4: " + wildcard,
        capital("*P*", "*p*"), capital("*N*", "*n*"), capital("*E*", "*e*")}));
}

TEST_F(MenucheckTest, SystemFolderPathIsANoteThatLeavesTheExitCodeAlone) {
    char system[MAX_PATH];
    UINT length = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    scratch_.WriteFile("menu.spi", MenuEntry(system, "System"));
    ConsoleRun run = Check();
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Warnings(run).empty());
    EXPECT_EQ(LinesStartingWith(run, "  Hinweis"), std::vector<std::string>{
        "  Hinweis, Zeile 1: Pfad im Windows-Systemordner: auf 64-Bit-Windows wird der 32-Bit-Programmstarter "
        "dort nach SysWOW64 umgeleitet."});
}

TEST_F(MenucheckTest, UmlautsShowInAConsoleWindowAsWritten) {
    // A console window shows its OEM code page, not the ANSI one the report is
    // written in; what reaches the window must be the characters themselves.
    scratch_.WriteFile("ziel.txt", "");
    scratch_.WriteFile("men\xFC.spi", MenuEntry("ziel.txt", "F\xFCr alle"));
    ConsoleWindowRun run = RunInConsoleWindow(MENUCHECK_EXE, "", scratch_.Path(), kCheckTimeoutMs);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_GE(run.rows.size(), 3u);
    EXPECT_EQ(run.rows[run.rows.size() - 2], L"  Zeile 1: \"F\u00FCr alle\" -> ziel.txt -- wird angezeigt");
    EXPECT_EQ(run.rows.back(), L"Ergebnis: 1 Eintrag in 1 Men\u00FC" L"datei, 1 wird angezeigt.");
}

TEST_F(MenucheckTest, MarkersTakenDevicesAndFullPathsOver259BytesAreWarnedAboutAtTheirLine) {
    const std::string longName = std::string(258 - scratch_.Path().size(), 'g') + ".exe";
    scratch_.WriteFile(std::wstring(longName.begin(), longName.end()), "MZ");
    // Lines end in CR alone, as old Mac editors write them; the long-path prefix is no wildcard.
    scratch_.WriteFile("menu.spi", "*p*CON*n*Konsole*e*\r*p*" + scratch_.PathOf("nul.txt") + "*n*Nichts*e*\r*p*" + longName +
                                       "*n*Lang*e*\r*p*\\\\?\\" + scratch_.Path() + "*n*Ordner*e*\r*p**n*Ohne Pfad*e*\r*p*CON*n*Weg*e*\r"
                                       "*p*CON*n**e*\r*p*CON*n*Danach*e*");
    ConsoleRun run = Check();
    EXPECT_EQ(ShownNames(run), (std::vector<std::string>{"Konsole", "Nichts", "Lang", "Ordner", "*e*\xB7", "Danach"}));
    const std::string device = "Der Pfad nennt ein Ger\xE4t (CON, NUL, COM1, LPT1, AUX, PRN ...), keine Datei: der Eintrag "
                               "wird angezeigt, \xF6" "ffnet aber nichts.";
    EXPECT_EQ(Warnings(run), (std::vector<std::string>{"  Warnung, Zeile 1: " + device, "  Warnung, Zeile 2: " + device,
        "  Warnung, Zeile 3: Der volle Pfad ist l\xE4nger als 259 Bytes: der Eintrag wird angezeigt, l\xE4sst sich aber nicht \xF6" "ffnen.",
        "  Warnung, Zeile 5: Auf \"*p*\" folgt gleich \"*n*\" (leerer Pfad): der Programmstarter nimmt den Text bis zum "
        "n\xE4" "chsten \"*n*\" als Pfad und den Namen des n\xE4" "chsten Eintrags als Namen, und so zeigt er meist keinen der beiden Eintr\xE4ge.",
        "  Warnung, Zeile 7: Auf \"*n*\" folgt gleich \"*e*\" (leerer Name): die Liste zeigt stattdessen \"*e*\" und den Text "
        "danach bis zum n\xE4" "chsten \"*p*\" oder \"*e*\" als Namen.", "  Warnung, Zeile 7: " + device,
        "  Warnung, Zeile 8: " + device})) << run.output;
}

TEST_F(MenucheckTest, EachPathNotFoundGetsItsCauseAndATipAndQuotesANote) {
    scratch_.WriteFile("menu.spi", PathsAsPeopleWriteThem());
    ConsoleRun run = Check();
    std::vector<std::string> lines = LinesStartingWith(run, "  ");
    ASSERT_EQ(lines.size(), 17u) << "16 entries, a note and no warning: " << run.output;
    const std::string notFound = " -- nicht angezeigt: der Pfad wird nicht gefunden", causes[] = {
        "; Umgebungsvariablen (%...%) werden nicht ersetzt", "; bis zum Leerzeichen nennt er die Datei C:\\windows\\notepad.exe,",
        "; er beginnt mit einem Leerzeichen", "; eine Internetadresse ist keine Datei: bitte eine Internetverkn\xFCpfung",
        "; \"C:\" allein ist der aktuelle Ordner des Laufwerks: gemeint war wohl \"C:\\\"", "; er enth\xE4lt Anf\xFChrungszeichen",
        "; gesucht wurde " + scratch_.PathOf("fehlt.exe"), "", ""};
    for (size_t i = 0; i < 9; ++i)  // each cause, and the start of its tip
        EXPECT_EQ(lines[4 + i].substr(lines[4 + i].find(notFound) + notFound.size(), causes[i].empty() ? std::string::npos
                                      : causes[i].size()), causes[i]) << lines[4 + i];
    EXPECT_EQ(lines[15].substr(lines[15].find(notFound)), notFound) << "a folder takes no parameters: " << lines[15];
    EXPECT_EQ(lines[16], "  Hinweis, Zeile 4: Die Anf\xFChrungszeichen um den Pfad sind nicht n\xF6tig.");
}

// --- calling it ------------------------------------------------------------------------

TEST_F(MenucheckTest, HelpAndBadCallsAndMissingMenus) {
    for (const char* help : {"/?", "-h", "--help"}) {
        SCOPED_TRACE(help);
        ConsoleRun run = Check(help);
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_FALSE(run.lines.empty());
        EXPECT_EQ(run.lines[0], "Aufruf: menucheck [Ordner]");
    }
    ConsoleRun unknown = Check("-x");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.output, "Unbekannte Option: -x (Hilfe: menucheck /?)\r\n");

    ConsoleRun twoFolders = Check(". .");
    EXPECT_EQ(twoFolders.exitCode, 2);
    EXPECT_EQ(twoFolders.output, "Bitte h\xF6" "chstens einen Ordner angeben (Hilfe: menucheck /?)\r\n");

    ConsoleRun missing = Check("\"" + scratch_.PathOf("gibt es nicht") + "\"");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.output, "Ordner nicht gefunden: " + scratch_.PathOf("gibt es nicht") + "\r\n");

    scratch_.WriteFile("notizen.txt", MenuEntry("C:\\windows", "Windows"));  // not a menu file
    ConsoleRun none = Check();
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.output, "Keine g\xFCltige Datei gefunden\r\n");
}

TEST_F(MenucheckTest, RelativePathsResolveAgainstTheFolderGiven) {
    scratch_.MakeDirectory("menues");
    scratch_.WriteFile("menues\\ziel.exe", "MZ");
    scratch_.WriteFile("menues\\menu.spi", MenuEntry("ziel.exe", "Ziel"));
    scratch_.WriteFile("ziel2.exe", "MZ");  // beside the folder, not in it
    scratch_.WriteFile("menues\\zwei.spi", MenuEntry("ziel2.exe", "Daneben"));
    ConsoleRun run = RunConsoleProgram(MENUCHECK_EXE, "menues", scratch_.Path(), kCheckTimeoutMs);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(ShownNames(run), std::vector<std::string>{"Ziel"});
    EXPECT_EQ(LinesStartingWith(run, "Men\xFC" "datei ").size(), 2u);
    for (const std::string& heading : LinesStartingWith(run, "Men\xFC" "datei ")) {
        EXPECT_NE(heading.find(scratch_.PathOf("menues\\")), std::string::npos) << heading;
    }
}

// "men\u0103" has no ANSI form: a best fit would make it "mena", the folder beside it. Whether
// started inside it or given it, both programs read its own menu, "men\u4E2D" too, and the
// entries' relative paths are found in it.
TEST_F(MenucheckTest, AFolderWithoutAnAnsiNameIsReadItselfNeverItsLookAlike) {
    scratch_.WriteFile("ziel.txt", "x");
    for (const wchar_t* folder : {L"men\u0103", L"mena", L"men\u4E2D"}) {
        scratch_.MakeDirectory(folder);
        scratch_.WriteFile(std::wstring(folder) + L"\\eigen.txt", "x");
        scratch_.WriteFile(std::wstring(folder) + L"\\menu.spi",
                           MenuEntry("..\\ziel.txt", folder == std::wstring(L"mena") ? "FALSCH" : "RICHTIG") +
                               MenuEntry("eigen.txt", "Relativ"));
    }
    const std::vector<std::string> right = {"RICHTIG", "Relativ"};
    ConsoleRun given = RunConsoleProgram(MENUCHECK_EXE, "\"" + scratch_.Path() + "\\men\xC4\x83\"", scratch_.Path(),
                                         kCheckTimeoutMs);  // UTF-8
    EXPECT_EQ(ShownNames(given), right) << given.output;
    EXPECT_EQ(given.exitCode, 0) << given.output;
    ASSERT_FALSE(given.lines.empty());
    EXPECT_EQ(given.lines[0].rfind("Men\xFC" "datei " + scratch_.PathOf("men?\\menu.spi") + ", ge\xF6" "ffnet als ", 0), 0u)
        << given.lines[0];
    for (const wchar_t* folder : {L"men\u0103", L"men\u4E2D"}) {
        scratch_.Enter(folder);
        ConsoleRun inside = RunConsoleProgram(MENUCHECK_EXE, "", "", kCheckTimeoutMs);
        EXPECT_EQ(ShownNames(inside), right) << inside.output;
        StartLauncher(LAUNCHER_EXE, true);
        HWND dialog = WaitForStartDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ListItems(GetDlgItem(dialog, IDC_PROGRAM_LIST)), (std::vector<std::wstring>{L"RICHTIG", L"Relativ"}));
        ClickButton(GetDlgItem(dialog, IDCANCEL));
        EXPECT_EQ(ExitCode(), 0);
    }
}

// --- the same names as the launcher ----------------------------------------------------------

TEST_F(MenucheckTest, ShownNamesEqualTheLaunchersListInOrder) {
    scratch_.WriteFile("da.exe", "MZ");
    scratch_.MakeDirectory("ordner");
    const std::string longName = "Ein Name, der l\xE4nger ist als neunundvierzig Bytes, wird gek\xFCrzt";
    scratch_.WriteFile("eins.spi", "Kopf\r\n" + MenuEntry("da.exe", "Erstes") +
                                       MenuEntry(scratch_.PathOf("fehlt.exe"), "Fehlt") +
                                       MenuEntry("ordner", "\xDC" "bersicht") + MenuEntry("da.exe", longName));
    scratch_.WriteFile("zwei.spi", MenuEntry(scratch_.PathOf("da.exe"), "Zweite Datei") +
                                       MenuEntry("da.ex?", "Platzhalter") + MenuEntry("weg.exe", "Weg"));
    scratch_.WriteFile("drei.spi", "*p*da.exe*n*Drei*e*");
    // Opened, this would be the serial port; the wide call with the long-path prefix makes a file.
    scratch_.WriteFile(std::wstring(L"COM1.spi"), MenuEntry("da.exe", "Ger\xE4t"));

    ConsoleRun run = Check();
    std::vector<std::string> checked = ShownNames(run);
    ASSERT_EQ(checked.size(), 6u) << run.output;
    EXPECT_EQ(LinesStartingWith(run, "\xDC" "bersprungen: COM1.spi -- keine Men\xFC" "datei: Windows \xF6" "ffnet unter "
                                     "diesem Namen das Ger\xE4t COM1; es wird nie ge\xF6" "ffnet").size(), 1u) << run.output;

    StartLauncher();
    HWND dialog = WaitForStartDialog();
    ASSERT_NE(dialog, nullptr);
    std::vector<std::wstring> listed = ListItems(GetDlgItem(dialog, IDC_PROGRAM_LIST));
    std::vector<std::wstring> widened;
    for (const std::string& name : checked) widened.push_back(Widen(name));
    EXPECT_EQ(widened, listed);
    ClickButton(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(ExitCode(), 0);
}

}  // namespace
