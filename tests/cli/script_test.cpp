// quillmoor-script run as a user runs it: what the tool adds to the core (exit
// codes, the JSON shape, reading and writing files), with one import end to end.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "exchange/po_file.hpp"
#include "exchange/table.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/layout.hpp"
#include "script_runner.hpp"
#include "text.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::readText;
using testing::runScript;

class Script : public ::testing::Test {
  protected:
    testing::TempDir dir;
    fs::path rom = dir.path() / "story.smc";
    fs::path table = dir.path() / "table.json";

    void SetUp() override {
        ASSERT_EQ(run({"demo", rom.string()}).status, 0);
        ASSERT_EQ(run({"export", rom.string(), "-o", table.string()}).status, 0);
    }
    testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return runScript(args, dir.path());
    }
    /// Writes the table with row k's text replaced to `to`.
    void editTable(const fs::path& to, std::size_t k, const std::string& text) {
        auto doc = nlohmann::json::parse(readText(table));
        doc["strings"][k]["text"] = text;
        std::ofstream(to, std::ios::trunc) << doc.dump();
    }
};

TEST_F(Script, FailuresExitWithAMessageAndChangeNoFile) {
    fs::create_directory(dir.path() / "big");  // the snapshots do not read it again and again
    std::ofstream(dir.path() / "big" / "table.json") << ' ';
    fs::resize_file(dir.path() / "big" / "table.json", kLargestTableFile + 1);
    fs::copy_file(table, dir.path() / "locked.json");
    fs::permissions(dir.path() / "locked.json", fs::perms(0444));
    fs::copy_file(rom, dir.path() / "linked.smc");
    testing::linkTo("linked.smc", dir.path() / "linked Hack.smc");
    testing::linkTo("story.smc", dir.path() / "link.smc");
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/zero";
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.smc").c_str(), 0600), 0);
#endif
    struct Case {
        std::vector<std::string> args;  // names are files in the test's folder
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"import", "story.smc", "big/table.json"}, 1, "more than the 4,194,304 bytes allowed"},
        {{"export", "story.smc", "-o", "locked.json"}, 1, "locked.json\": it is read-only"},
        {{"import", "story.smc", device}, 1, "not a regular file"},
        {{"import", "linked.smc", "table.json", "--copy"}, 1, "leads to the ROM image itself"},
        {{"export", "story.smc", "-o", "link.smc"}, 1, "which would be lost"},
#ifndef _WIN32
        {{"export", "fifo.smc"}, 1, "not a regular file"},
        {{"export", "story.smc", "-o", "/dev/full"}, 1, ""},
#endif
        {{"demo", "story.smc"}, 1, "already exists; give --force"},
        {{"import", "story.smc"}, 2, "quillmoor-script: TABLE is required"},
        {{"frobnicate"}, 2, "quillmoor-script: unknown command \"frobnicate\""},
        {{"import", "story.smc", "-"},
         1,
         "JSON (at line 1, column 1). Without --format it is read as JSON: give --format po"},
        {{"export", "story.smc", "-o", "nodir/t.json"}, 1, "nodir does not exist."},
        // Standard input can be read once: the second image would be empty.
        {{"create-patch", "-", "-", "-o", "both.bps"}, 1, "Only one of the inputs can come from"},
        {{"apply-patch", "-", "-", "-o", "out.smc"}, 1, "Only one of the inputs can come from"},
#ifndef _WIN32  // names hold no line break there
        {{"export", "story.smc", "-o", "no\ndir/t.json"}, 1, "no\\ndir does not exist."},
        {{"import", "two\nlines.smc", "table.json"}, 1, "two\\nlines.smc\" does not exist"},
#endif
    };
    const auto before = testing::snapshot(dir.path());
    for (const Case& c : cases) {
        std::vector<std::string> args;
        for (const auto& a : c.args) {
            args.push_back(
                a.find('.') != std::string::npos && a[0] != '/' ? (dir.path() / a).string() : a);
        }
        const auto r = run(args);
        EXPECT_EQ(r.status, c.status) << c.args.at(1 % c.args.size()) << " " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("quillmoor-script: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line, whatever the names
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(testing::snapshot(dir.path()), before);
    }
#ifndef _WIN32
    const auto full = runScript({"export", rom.string(), "-o", "-"}, dir.path(), "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("Cannot write to standard output"), std::string::npos) << full.err;
#endif
}

TEST_F(Script, TablesInEveryFormatAndPatchesBetweenImages) {
    const auto doc = nlohmann::json::parse(readText(table));  // the list's columns
    ASSERT_EQ(doc.at("strings").size(), kStringCount);
    EXPECT_EQ(doc["strings"][0], nlohmann::json::parse(R"({"number": 1, "portrait": "Rosalind",
        "text": "Good morning!(return)The tide's out.", "coloured": "No", "pointer": "0004",
        "note": "", "state": ""})"));
    EXPECT_EQ(run({"export", rom.string()}).out, readText(table));  // standard output
    const Bytes original = readFile(rom);
    for (const char* name : {"table.csv", "table.po"}) {
        const std::string path = (dir.path() / name).string();
        const auto exported = run({"export", rom.string(), "-o", path});
        if (!PoFilesSupported() && path.ends_with(".po")) {
            EXPECT_NE(exported.err.find("PO files are not supported in this build"),
                      std::string::npos);
            continue;
        }
        ASSERT_EQ(exported.status, 0) << name;
        const auto r = run({"import", rom.string(), path});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(readFile(rom), original) << name;
    }
    const auto same = runScript({"import", rom.string(), "-"}, dir.path(), "", table);
    EXPECT_EQ(same.status, 0) << same.err;  // JSON from standard input
    EXPECT_EQ(readFile(rom), original);
    editTable(dir.path() / "edited.json", 3, "Hi");
    const fs::path french = dir.path() / u8"Quillmoor (Français).smc";  // any name, any system
    fs::copy_file(rom, french);
    const auto copied =
        run({"import", testing::utf8(french), (dir.path() / "edited.json").string(), "--copy"});
    const fs::path edited = dir.path() / u8"Quillmoor (Français) Hack.smc";
    ASSERT_EQ(copied.out, "Imported 1 changed row into the copy " + testing::utf8(edited) + "\n")
        << copied.err;
    EXPECT_EQ(readFile(french), original);
    Bytes other = original;
    other[100] ^= 1;
    testing::writeFile(dir.path() / "other.smc", other);
    for (const char* name : {"fan.bps", "fan.ips"}) {
        const std::string patch = (dir.path() / name).string();
        const std::string out = (dir.path() / "patched.smc").string();
        ASSERT_EQ(run({"create-patch", rom.string(), testing::utf8(edited), "-o", patch}).status,
                  0);
        // Row 4 changed length, so every string after it moved: about the region, not 4 MiB.
        EXPECT_LT(fs::file_size(patch), kTextRegionLength + kPointerTableLength + 200);
        ASSERT_EQ(run({"apply-patch", patch, rom.string(), "-o", out}).status, 0);
        EXPECT_EQ(readFile(out), readFile(edited)) << name;
        fs::remove(out);
    }
    const auto before = testing::snapshot(dir.path());
    const std::string bps = (dir.path() / "fan.bps").string();
    const auto wrong =
        run({"apply-patch", bps, (dir.path() / "other.smc").string(), "-o", "patched.smc"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("with CRC32"), std::string::npos) << wrong.err;
    EXPECT_EQ(run({"apply-patch", bps, rom.string(), "-o", rom.string()}).status, 1);
    EXPECT_EQ(run({"create-patch", rom.string(), testing::utf8(edited), "-o", "x.txt"}).status, 1);
    EXPECT_EQ(testing::snapshot(dir.path()), before);
}

TEST_F(Script, SaysWhatItDidInOneLineOrWhatToDoInstead) {
    editTable(dir.path() / "edited.json", 3, "Hi");
    const fs::path home = fs::current_path();
    fs::current_path(dir.path());  // messages name the files as they were given
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Imported 1 changed row into the copy story Hack.smc\n",
         {"import", "story.smc", "edited.json", "--copy"}},
        {"Wrote fan.bps (# bytes, BPS) from story.smc to story Hack.smc\n",  // #: its size
         {"create-patch", "story.smc", "story Hack.smc", "-o", "fan.bps"}},
        {"Wrote out.smc\n", {"apply-patch", "fan.bps", "story.smc", "-o", "out.smc"}},
        {"Imported 1 changed row into story.smc\n", {"import", "story.smc", "edited.json"}},
        {"", {"-q", "import", "story.smc", "table.json"}},
#ifndef _WIN32  // no PO files there
        {"", {"export", "story.smc", "--format", "pot", "-o", "t.txt", "--quiet"}},
        {"No row changed\n", {"import", "story.smc", "t.txt", "--format", "POT"}},
#endif
    };
    for (auto [says, args] : cases) {
        const auto r = run(args);
        if (const auto size = says.find('#'); size != std::string::npos) {
            says.replace(size, 1, WithThousands(fs::file_size("fan.bps")));
        }
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, says);
    }
    fs::current_path(home);
}

#ifdef QM_EDITOR_PATH
// It reads its command line before any window exists: on a platform that does
// not exist, a window would abort it.
TEST(EditorCommandLine, HelpAndVersionPrintWithoutAWindowAndMistakesExitWith2) {
    testing::TempDir dir;
    ::setenv("QT_QPA_PLATFORM", "none", 1);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // how it starts
        std::string err;
    } cases[] = {
        {{"--help"}, 0, "Usage: quillmoor-text-edit [options] [ROM]\n", ""},
        {{"--version"}, 0, "quillmoor-text-edit " QM_VERSION "\n", ""},
        {{"--frob"}, 2, "", "quillmoor-text-edit: Unknown option 'frob'; run with --help\n"},
    };
    for (const auto& c : cases) {
        const auto r = runScript(c.args, dir.path(), "", "/dev/null", "", ">", QM_EDITOR_PATH);
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_EQ(c.out.empty() ? r.out : r.out.substr(0, c.out.size()), c.out);
        EXPECT_EQ(r.err, c.err);
    }
}
#endif

#ifndef _WIN32
// What the tool's process may meet: a file-size limit, standard output opened on
// an input, a temporary folder that is gone, too little memory, a umask.
TEST_F(Script, TheProcessSettingsAreKeptOrTheRunStopsCleanly) {
    const std::string story = rom.string(), bps = (dir.path() / "same.bps").string();
    ASSERT_EQ(run({"create-patch", story, story, "-o", bps}).status, 0);
    fs::create_directory(dir.path() / "big");
    fs::copy_file(rom, dir.path() / "big" / "huge.smc");
    fs::resize_file(dir.path() / "big" / "huge.smc", kLargestRomImage);
    const fs::path edited = dir.path() / "big" / "edited.json";  // an import with nothing to
    editTable(edited, 3, "Hi");                                  // change writes nothing
    struct Case {
        const char* before;
        std::vector<std::string> args;
        std::string stdoutTo;
        const char* redirect;
        const char* message;
    };
    const Case cases[] = {
        {"ulimit -f 1024;", {"import", story, edited.string()}, "", ">", "File too large"},
        {"ulimit -f 1024;", {"apply-patch", bps, story, "-o", bps + ".smc"}, "", ">", "too large"},
        {"", {"export", story}, story, "1<>", "standard output: it is \""},
        {"", {"apply-patch", bps, story, "-o", "-"}, story, ">>", "which would be lost"},
        {"TMPDIR=/gone ", {"export", story, "-o", bps + ".po"}, "", ">", "in \"/gone\": No such"},
#ifndef __SANITIZE_ADDRESS__  // its shadow memory needs more address space than any limit
        {"ulimit -v 60000;",
         {"import", (dir.path() / "big" / "huge.smc").string(), edited.string()},
         "",
         ">",
         "not enough memory"},
#endif
    };
    const auto before = testing::snapshot(dir.path());
    for (const Case& c : cases) {
        const auto r = runScript(c.args, dir.path(), c.stdoutTo, "/dev/null", c.before, c.redirect);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(testing::snapshot(dir.path()), before) << c.message;
    }
    const std::string made = (dir.path() / "new.smc").string();  // new files as the umask says
    const std::string exported = (dir.path() / "new.csv").string();
    EXPECT_EQ(runScript({"demo", made}, dir.path(), "", "/dev/null", "umask 077;").status, 0);
    EXPECT_EQ(
        runScript({"export", story, "-o", exported}, dir.path(), "", "/dev/null", "umask 077;")
            .status,
        0);
    EXPECT_EQ(testing::modeOf(made), 0600u);
    EXPECT_EQ(testing::modeOf(exported), 0600u);
}

// Another program writes the ROM image while import waits for its table, which comes
// through a pipe the tool drains only once it has read the image.
TEST_F(Script, ImportWritesNothingOverAnImageThatChangedUnderneath) {
    const fs::path edited = dir.path() / "edited.json";
    editTable(edited, 3, "Hi");
    const auto quote = [](const fs::path& p) { return "'" + p.string() + "'"; };
    const std::string writer = "{ head -c 200000 /dev/zero | tr '\\0' ' '; printf x >>" +
                               quote(rom) + "; cat " + quote(edited) + "; } | ";
    Bytes expected = readFile(rom);
    expected.push_back('x');
    const auto r = runScript({"import", rom.string(), "-"}, dir.path(), "", "/dev/stdin", writer);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quillmoor-script: " + Quoted(rom.string()) +
                         " was changed by another program since it was read; nothing was "
                         "written.\n");
    EXPECT_EQ(readFile(rom), expected);
    EXPECT_EQ(testing::snapshot(dir.path()).size(), 3u);  // and no temporary file
}
#endif

}  // namespace
}  // namespace qm
