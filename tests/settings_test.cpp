#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/brk_apart.h"
#include "settings/reg_document.h"
#include "settings/registry.h"
#include "settings/registry_enhanced.h"
#include "settings/settings_folder.h"

namespace oryx::settings {

// Readable failure messages: the kind and the value.
void PrintTo(const SettingValue& v, std::ostream* os) {
    std::visit(
        [os](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                *os << "empty";
            else if constexpr (std::is_same_v<T, std::int32_t>)
                *os << "integer " << x;
            else if constexpr (std::is_same_v<T, bool>)
                *os << "boolean " << x;
            else if constexpr (std::is_same_v<T, std::string>)
                *os << "string " << ::testing::PrintToString(x);
            else if constexpr (std::is_same_v<T, Currency>)
                *os << "currency " << x.scaled;
            else if constexpr (std::is_same_v<T, DateTime>)
                *os << "date-time " << x.days;
            else
                *os << "float " << x;
        },
        v.Value());
}

}  // namespace oryx::settings

namespace fs = std::filesystem;
using namespace oryx::settings;

namespace {

const std::string kHeader = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX]\n";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `body` in a child process, without root's rights when the tests run
// as root, and returns its exit code (-signal when it was killed).
int InChild(const std::function<int()>& body, bool dropRoot = false) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (dropRoot && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(90);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// A settings folder of the test's own, missing until something creates it.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "oryx-settings-XXXXXX").string();
        base_ = mkdtemp(pattern.data());
        folder_ = base_ / "ORYX";
        OverrideSettingsFolder(folder_);
        reg_.RootKey = TRootKey::hkLocalMachine;
        reg_.Key = "\\SOFTWARE\\Corvex\\ORYX\\";
    }
    void TearDown() override {
        OverrideSettingsFolder({});
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, ec);
        fs::remove_all(base_, ec);
    }
    fs::path File() const { return folder_ / "HKEY_LOCAL_MACHINE.reg"; }
    void Seed(const std::string& text) {
        fs::create_directories(folder_);
        WriteAll(File(), text);
    }
    // Lets the unprivileged user of InChild own the folder.
    void HandFolderToChild() {
        if (geteuid() != 0) return;
        fs::permissions(base_, fs::perms::owner_all | fs::perms::others_exec);
        for (const fs::path& p : {folder_, File(), folder_ / ".lock"})
            if (fs::exists(p)) {
                ASSERT_EQ(chown(p.c_str(), 65534, 65534), 0);
            }
    }

    fs::path base_;
    fs::path folder_;
    TRegistryEnhanced reg_;
};

TEST(BrkApart, SplitsAtTheSeparator) {
    struct Case {
        std::string base, separator;
        bool allowEmpty;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {R"(a\\b\)", "\\", false, {"a", "b"}},
        {R"(a\\b\)", "\\", true, {"a", "", "b", ""}},
        {R"(\SOFTWARE\Corvex\ORYX\)", "\\", false, {"SOFTWARE", "Corvex", "ORYX"}},
        {"a\\b", "", true, {"a\\b"}},
        {"", "\\", false, {}},
        {"", "\\", true, {""}},
        {"one--two----three", "--", false, {"one", "two", "three"}},
        {"one--two----three", "--", true, {"one", "two", "", "three"}},
        {"---", "--", true, {"", "-"}},
    };
    for (const Case& c : cases) {
        TBrkApart brk;
        brk.StringList = {"left from before"};
        brk.BaseString = c.base;
        brk.BreakString = c.separator;
        brk.AllowEmptyString = c.allowEmpty;
        brk.BreakApart();
        EXPECT_EQ(brk.StringList, c.pieces) << c.base << " at " << c.separator << " allowEmpty " << c.allowEmpty;
    }
}

TEST(RegistryEnhanced, KeyAndValueNames) {
    const std::pair<std::string, std::string> trims[] = {
        {R"(\SOFTWARE\Corvex\ORYX\)", R"(SOFTWARE\Corvex\ORYX)"},
        {R"(SOFTWARE\Corvex\ORYX)", R"(SOFTWARE\Corvex\ORYX)"},
        {R"(\)", ""},
        {R"(\\)", R"(\)"},
        {R"(\\a\\)", R"(\a\)"},
        {"", ""},
    };
    for (const auto& [in, out] : trims) EXPECT_EQ(TRegistryEnhanced::TrimKey(in), out) << in;

    struct Case {
        std::string name, path, value;
    };
    const Case cases[] = {
        {"MRU1", "", "MRU1"},           {R"(a\b\c)", R"(\a\b)", "c"}, {R"(\\a\\\b\)", R"(\a)", "b"},
        {R"(\MRU1\)", "", R"(\MRU1\)"}, {R"(\)", "", R"(\)"},         {"", "", ""},
    };
    TRegistryEnhanced reg;
    for (const Case& c : cases) {
        EXPECT_EQ(reg.ValuePath(c.name), c.path) << c.name;
        EXPECT_EQ(reg.ValueName(c.name), c.value) << c.name;
    }
}

TEST_F(SettingsStore, FirstStartReadsDefaultsAndCreatesNothing) {
    EXPECT_EQ(reg_.ReadValue("Maximized", 0), SettingValue(0));
    EXPECT_EQ(reg_.ReadValue("View Taskbar", 1), SettingValue(1));
    EXPECT_EQ(reg_.ReadValue("Button Width", 75), SettingValue(75));
    for (int i = 1; i <= 13; ++i) EXPECT_EQ(reg_.ReadValue("MRU" + std::to_string(i), ""), SettingValue("")) << i;
    EXPECT_FALSE(fs::exists(folder_));
}

TEST_F(SettingsStore, MainWindowSettingsFileReadsAsText) {
    reg_.WriteValue("MRU1", "/home/me/node17.txt");
    reg_.WriteValue("MRU2", R"(C:\Prov\"big" node.txt)");
    reg_.WriteValue("Maximized", true);
    reg_.WriteValue("View Taskbar", false);
    reg_.WriteValue("Button Width", 75);
    reg_.WriteValue("MRU1", "/home/me/node18.txt");
    EXPECT_EQ(ReadAll(File()), kHeader + R"("MRU1"="/home/me/node18.txt"
"MRU2"="C:\\Prov\\\"big\" node.txt"
"Maximized"=dword:00000001
"View Taskbar"=dword:00000000
"Button Width"=dword:0000004b

)");
    EXPECT_EQ(fs::status(folder_).permissions(), fs::perms::owner_all);
}

TEST_F(SettingsStore, RoundTripsOfEveryKind) {
    struct Case {
        std::string name;
        SettingValue written, expected;
        std::string line;
    };
    const Case cases[] = {
        {"Int", 80, 80, R"("Int"=dword:00000050)"},
        {"Negative", -2, -2, R"("Negative"=dword:fffffffe)"},
        {"Lowest", INT32_MIN, INT32_MIN, R"("Lowest"=dword:80000000)"},
        {"True", true, 1, R"("True"=dword:00000001)"},
        {"False", false, 0, R"("False"=dword:00000000)"},
        {"Empty text", "", "", R"("Empty text"="")"},
        {"Bytes", "/tmp/\xff\x01 line\nbreak\r\\end\\\"", "/tmp/\xff\x01 line\nbreak\r\\end\\\"",
         "\"Bytes\"=\"/tmp/\xff\x01 line\\nbreak\\r\\\\end\\\\\\\"\""},
        {"Nul", std::string("cut\0here", 8), "cut", R"("Nul"="cut")"},
        {"Quote\"d name", "x", "x", R"("Quote\"d name"="x")"},
        {"Price", Currency{125000}, "default", R"("Price"=hex:48,e8,01,00,00,00,00,00)"},
        {"When", DateTime{1.5}, "default", R"("When"=hex:00,00,00,00,00,00,f8,3f)"},
        {"Ratio", 2.5, "default", ""},
        {"Nothing", SettingValue(), "default", ""},
    };
    for (const Case& c : cases) {
        reg_.WriteValue(c.name, c.written);
        EXPECT_EQ(reg_.ReadValue(c.name, "default"), c.expected) << c.name;
        const std::string text = ReadAll(File());
        if (c.line.empty())
            EXPECT_EQ(text.find(c.name), std::string::npos) << c.name;
        else
            EXPECT_NE(text.find("\n" + c.line + "\n"), std::string::npos) << c.name << " in\n" << text;
    }
    EXPECT_TRUE(reg_.ReadValue("Int", "").IsInteger());
    EXPECT_TRUE(reg_.ReadValue("True", false).IsInteger());
}

TEST_F(SettingsStore, HandEditedFiles) {
    struct Case {
        std::string file, name;
        SettingValue expected;
    };
    const Case cases[] = {
        {kHeader + R"("Button Width"="80")", "Button Width", "80"},
        {"[hkey_local_machine\\software\\CORVEX\\oryx]\n\"button WIDTH\"=DWORD:5A", "Button Width", 90},
        {kHeader + "\"X\"=hex(4):5a,00,\\\n  00,00\n", "X", 90},
        {kHeader + R"("X"=hex(1):61,62,00,63)", "X", "ab"},
        {kHeader + "\"X\"=\"crlf\"\r\n\r\n", "X", "crlf"},
        {kHeader + R"("X"="C:\temp\Prov")", "X", R"(C:\temp\Prov)"},
        {kHeader + "\"X\"=\"first\"\n\"x\"=\"second\"\n", "X", "second"},
        {kHeader + "@=\"unnamed\"\n", "", "unnamed"},
        {kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX]\n\"X\"=dword:1", "X", 1},
        {kHeader + R"("X"=hex(2):25,00)", "X", "default"},
        {kHeader + R"("X"=hex:01,02)", "X", "default"},
        {kHeader + R"("X"=hex(4):01,00)", "X", "default"},
        {kHeader + R"("X"=dword:1234567890)", "X", "default"},
        {kHeader + R"("X"="unclosed)", "X", "default"},
        {kHeader + R"("X"=-)", "X", "default"},
        {"[HKEY_CURRENT_USER\\SOFTWARE\\Corvex\\ORYX]\n\"X\"=\"other root\"", "X", "default"},
        {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Corvex\\ORYX]\n\"X\"=\"bad header\"", "X", "default"},
        {std::string("\0\xff\xfe[\x01", 5), "X", "default"},
    };
    for (const Case& c : cases) {
        Seed(c.file);
        EXPECT_EQ(reg_.ReadValue(c.name, "default"), c.expected) << c.file;
    }
}

TEST_F(SettingsStore, DamagedLinesSurviveWrites) {
    const std::string damaged =
        "REGEDIT4\n\n; kept by hand\nnot a setting\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX]\r\n"
        "\"MRU1\"=\"/a.txt\"\r\n"
        "\"Broken=dword:1\n"
        "garbage \x01\x02 bytes\n\n\n"
        "\"maximized\"  =  DWORD:0000000\n"
        "[HKEY_CURRENT_USER\\Other]\n\"Y\"=\"kept\"\n";
    Seed(damaged);
    reg_.WriteValue("MRU2", "/b.txt");
    reg_.WriteValue("Maximized", 1);
    EXPECT_EQ(ReadAll(File()),
              "REGEDIT4\n\n; kept by hand\nnot a setting\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX]\n"
              "\"MRU1\"=\"/a.txt\"\r\n"
              "\"Broken=dword:1\n"
              "garbage \x01\x02 bytes\n"
              "\"maximized\"=dword:00000001\n"
              "\"MRU2\"=\"/b.txt\"\n\n"
              "[HKEY_CURRENT_USER\\Other]\n\"Y\"=\"kept\"\n\n");
    EXPECT_EQ(reg_.ReadValue("MRU1", ""), SettingValue("/a.txt"));

    // Only a blank line keeps a line that ends in "\" from going on in the
    // next one, which would make a value of the two.
    Seed(kHeader + "\"B\"=hex(4):01,\\\n\n00,00,00\n");
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("B", "none"), SettingValue("none"));
    reg_.WriteValue("Y", 1);
    EXPECT_EQ(reg_.ReadValue("B", "none"), SettingValue("none"));
    EXPECT_EQ(ReadAll(File()),
              kHeader + "\"B\"=hex(4):01,\\\n\n00,00,00\n\"X\"=dword:00000001\n\"Y\"=dword:00000001\n\n");
}

TEST_F(SettingsStore, ValueNamesWithBackslashAddressSubKeys) {
    reg_.WriteValue(R"(\MRU1\)", "odd");
    reg_.WriteValue(R"(Window\Left)", 10);
    EXPECT_EQ(reg_.ReadValue(R"(Window\Left)", 0), SettingValue(10));
    EXPECT_EQ(reg_.ReadValue("Left", 0), SettingValue(0));
    EXPECT_EQ(reg_.ReadValue("MRU1", ""), SettingValue(""));

    TRegistryEnhanced sub;
    sub.RootKey = TRootKey::hkLocalMachine;
    sub.Key = R"(software\corvex\oryx\WINDOW)";
    EXPECT_EQ(sub.ReadValue("LEFT", 0), SettingValue(10));
    EXPECT_EQ(ReadAll(File()), kHeader + R"("\\MRU1\\"="odd"

[HKEY_LOCAL_MACHINE\SOFTWARE\Corvex\ORYX\Window]
"Left"=dword:0000000a

)");
}

TEST_F(SettingsStore, EachRootHasItsOwnFile) {
    const std::pair<TRootKey, std::string> roots[] = {
        {TRootKey::hkClassesRoot, "HKEY_CLASSES_ROOT"},   {TRootKey::hkCurrentConfig, "HKEY_CURRENT_CONFIG"},
        {TRootKey::hkCurrentUser, "HKEY_CURRENT_USER"},   {TRootKey::hkDynData, "HKEY_DYN_DATA"},
        {TRootKey::hkLocalMachine, "HKEY_LOCAL_MACHINE"}, {TRootKey::hkUsers, "HKEY_USERS"},
    };
    EXPECT_EQ(TRegistryEnhanced().RootKey, TRootKey::hkCurrentUser);
    int n = 0;
    for (const auto& [root, name] : roots) {
        reg_.RootKey = root;
        reg_.WriteValue("N", ++n);
        EXPECT_EQ(
            ReadAll(folder_ / (name + ".reg")),
            "REGEDIT4\n\n[" + name + "\\SOFTWARE\\Corvex\\ORYX]\n\"N\"=dword:0000000" + std::to_string(n) + "\n\n");
    }
    reg_.RootKey = TRootKey::hkCurrentUser;
    EXPECT_EQ(reg_.ReadValue("N", 0), SettingValue(3));
}

TEST_F(SettingsStore, EmptyKeyDoesNothingAndBackslashKeyIsTheRoot) {
    reg_.Key = "";
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(7));
    EXPECT_FALSE(fs::exists(folder_));

    reg_.Key = "\\";
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(1));
    EXPECT_EQ(ReadAll(File()), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE]\n\"X\"=dword:00000001\n\n");

    reg_.Key = R"(\\SOFTWARE)";  // an empty key name: the registry refuses it
    reg_.WriteValue("Y", 1);
    EXPECT_EQ(reg_.ReadValue("Y", 7), SettingValue(7));
}

TEST_F(SettingsStore, RegistryConnection) {
    Seed(kHeader + "\"S\"=\"s\"\n\"E\"=hex(2):25,00\n\"I\"=dword:00000001\n\"B\"=hex:01\n\"Q\"=hex(b):01\n");
    Registry registry(TRootKey::hkLocalMachine);
    EXPECT_FALSE(registry.OpenKey(R"(\SOFTWARE\Corvex\ORYX\Missing)", false));
    ASSERT_TRUE(registry.OpenKey(R"(\software\corvex)", false));  // exists because a key below it does
    EXPECT_EQ(registry.GetDataType("S"), RegDataType::Unknown);
    ASSERT_TRUE(registry.OpenKey(R"(SOFTWARE\Corvex\ORYX\)", false));
    EXPECT_EQ(registry.GetDataType("S"), RegDataType::String);
    EXPECT_EQ(registry.GetDataType("E"), RegDataType::ExpandString);
    EXPECT_EQ(registry.GetDataType("I"), RegDataType::Integer);
    EXPECT_EQ(registry.GetDataType("B"), RegDataType::Binary);
    EXPECT_EQ(registry.GetDataType("Q"), RegDataType::Unknown);
    EXPECT_EQ(registry.GetDataType("None"), RegDataType::Unknown);
    EXPECT_EQ(registry.ReadInteger("S"), std::nullopt);
    EXPECT_EQ(registry.ReadBinary("b"), std::string("\x01"));
    EXPECT_TRUE(registry.CloseKey());
    EXPECT_FALSE(registry.OpenKey("a\nb", true));
}

TEST_F(SettingsStore, UnchangedValueLeavesTheFileAlone) {
    // Every replacement is a new file, so the inode tells whether one happened.
    const auto inode = [this] {
        struct stat st {};
        return stat(File().c_str(), &st) == 0 ? st.st_ino : 0;
    };
    reg_.WriteValue("View Taskbar", true);
    const auto first = inode();
    reg_.WriteValue("View Taskbar", 1);
    EXPECT_EQ(inode(), first);
    reg_.WriteValue("View Taskbar", 0);
    EXPECT_NE(inode(), first);
}

TEST_F(SettingsStore, MissingParentsAreCreatedAndSymlinksFollowed) {
    folder_ = base_ / "config" / "deeper" / "ORYX";
    OverrideSettingsFolder(folder_);
    reg_.WriteValue("X", "made");
    EXPECT_EQ(reg_.ReadValue("X", ""), SettingValue("made"));

    fs::create_directories(base_ / "dotfiles");
    fs::rename(File(), base_ / "dotfiles" / "machine.reg");
    fs::create_symlink(base_ / "dotfiles" / "machine.reg", File());
    reg_.WriteValue("Y", "through link");
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(reg_.ReadValue("X", ""), SettingValue("made"));
    EXPECT_EQ(reg_.ReadValue("Y", ""), SettingValue("through link"));
}

TEST_F(SettingsStore, UnusableFolderOrFileGivesDefaultsAndWritesNothing) {
    // Something else where the folder should be.
    WriteAll(folder_, "not a folder");
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(7));
    EXPECT_EQ(ReadAll(folder_), "not a folder");
    fs::remove(folder_);

    // A folder, then a FIFO where the file should be.
    fs::create_directories(File());
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(7));
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());
    ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
    reg_.WriteValue("X", 1);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(7));
    EXPECT_TRUE(fs::is_fifo(File()));
}

TEST_F(SettingsStore, FolderAndFileWithoutRights) {
    const std::string stored = kHeader + "\"X\"=dword:00000002\n\n";
    Seed(stored);
    reg_.WriteValue("X", 2);  // leaves the lock file behind, as a run would
    HandFolderToChild();
    const auto readAndWrite = [this] {
        const SettingValue read = reg_.ReadValue("X", 7);
        reg_.WriteValue("X", 3);
        reg_.WriteValue("New", 3);
        return read == SettingValue(7) ? 7 : read == SettingValue(2) ? 2 : 1;
    };

    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(InChild(readAndWrite, true), 2);  // readable, not writable
    fs::permissions(folder_, fs::perms::none);
    EXPECT_EQ(InChild(readAndWrite, true), 7);
    fs::permissions(folder_, fs::perms::owner_all);
    fs::permissions(File(), fs::perms::owner_write);
    EXPECT_EQ(InChild(readAndWrite, true), 7);  // the unreadable file is not replaced
    fs::permissions(File(), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadAll(File()), stored);
}

// A read-only settings file keeps its content, rights and owner: the write
// is refused as in a folder that cannot be written, also for root, whom
// the rights would not stop.
TEST_F(SettingsStore, ReadOnlyFileIsNeverReplaced) {
    const std::string stored = kHeader + "\"X\"=dword:00000002\n\n";
    Seed(stored);
    reg_.ReadValue("X", 0);  // leaves the lock file behind, as a run would
    HandFolderToChild();
    const auto closeAfterWrite = [] {
        Registry registry(TRootKey::hkLocalMachine);
        if (!registry.OpenKey(R"(\SOFTWARE\Corvex\ORYX)", true)) return 2;
        registry.WriteInteger("X", 3);
        registry.WriteInteger("New", 3);
        return registry.CloseKey() ? 0 : 1;
    };
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    struct stat before {};
    struct Case {
        const char* name;
        fs::perms folder;
        fs::perms file;
        bool dropRoot;
    } cases[] = {
        {"read-only file", fs::perms::owner_all, readOnly, false},
        {"read-only file, unprivileged", fs::perms::owner_all, readOnly, true},
        {"unwritable folder, unprivileged", fs::perms::owner_read | fs::perms::owner_exec,
         fs::perms::owner_read | fs::perms::owner_write, true},
    };
    for (const Case& c : cases) {
        fs::permissions(folder_, c.folder);
        fs::permissions(File(), c.file);
        ASSERT_EQ(stat(File().c_str(), &before), 0);
        EXPECT_EQ(InChild(closeAfterWrite, c.dropRoot), 1) << c.name;
        struct stat after {};
        ASSERT_EQ(stat(File().c_str(), &after), 0);
        EXPECT_EQ(ReadAll(File()), stored) << c.name;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.name;
        fs::permissions(folder_, fs::perms::owner_all);
        EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{".lock", "HKEY_LOCAL_MACHINE.reg"})) << c.name;
    }
    // Through TRegistryEnhanced, as the program writes.
    fs::permissions(File(), readOnly);
    reg_.WriteValue("X", 3);
    EXPECT_EQ(ReadAll(File()), stored);
    EXPECT_EQ(reg_.ReadValue("X", 7), SettingValue(2));
}

TEST_F(SettingsStore, TwoProcessesWritingAtOnceKeepBoth) {
    reg_.WriteValue("Start", 1);
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (const std::string prefix : {"A", "B"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char c;
            const bool started = read(gate[0], &c, 1) == 0;
            // A write that gives up on the other process's lock is made again.
            for (int i = 0; i < 40; ++i)
                while (!reg_.WriteValue(prefix + std::to_string(i), i)) {}
            _exit(started ? 0 : 1);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);  // both start now
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(reg_.ReadValue("A" + std::to_string(i), -1), SettingValue(i));
        EXPECT_EQ(reg_.ReadValue("B" + std::to_string(i), -1), SettingValue(i));
    }
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{".lock", "HKEY_LOCAL_MACHINE.reg"}));
}

TEST_F(SettingsStore, WriteFailingPartWayKeepsThePreviousFile) {
    reg_.WriteValue("MRU1", "/home/me/node17.txt");
    reg_.WriteValue("Button Width", 80);
    const std::string before = ReadAll(File());
    const auto writeLongPath = [this] {
        rlimit limit{64, 64}, noCore{0, 0};
        setrlimit(RLIMIT_FSIZE, &limit);
        setrlimit(RLIMIT_CORE, &noCore);
        reg_.WriteValue("MRU2", "/" + std::string(4000, 'x'));
        return 0;
    };

    // The disk fills up: the write fails and is given up.
    EXPECT_EQ(InChild([&] {
                  signal(SIGXFSZ, SIG_IGN);
                  return writeLongPath();
              }),
              0);
    EXPECT_EQ(ReadAll(File()), before);
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{".lock", "HKEY_LOCAL_MACHINE.reg"}));

    // The process dies in the middle of writing.
    EXPECT_EQ(InChild(writeLongPath), -SIGXFSZ);
    EXPECT_EQ(ReadAll(File()), before);
    EXPECT_EQ(FolderEntries(folder_).size(), 3u);  // its temporary file is left behind

    reg_.WriteValue("MRU2", "/b.txt");
    EXPECT_EQ(ReadAll(File()), before.substr(0, before.size() - 1) + "\"MRU2\"=\"/b.txt\"\n\n");
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{".lock", "HKEY_LOCAL_MACHINE.reg"}));
}

TEST_F(SettingsStore, WritesTellWhetherTheyStoredTheirValue) {
    EXPECT_TRUE(reg_.WriteValue("X", 1));
    EXPECT_TRUE(reg_.WriteValue("X", 1));                  // unchanged
    EXPECT_TRUE(reg_.WriteValue("F", SettingValue(1.5)));  // stores nothing, as asked
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    if (geteuid() != 0) {
        EXPECT_FALSE(reg_.WriteValue("X", 2));
    }
    fs::permissions(folder_, fs::perms::owner_all);
    fs::remove(File());
    ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
    EXPECT_FALSE(reg_.WriteValue("X", 3));
    OverrideSettingsFolder(base_ / "file" / "ORYX");
    WriteAll(base_ / "file", "not a folder");
    EXPECT_FALSE(reg_.WriteValue("X", 4));
}

// Another process holds the settings lock all along. Reads answer at once
// with what the file holds; the writes of a start-up and of a close give up
// after about a second in all, each saying so, and leave the file as it was.
// Only the test's time limit watches the time.
class SettingsHeldLock : public SettingsStore {};

TEST_F(SettingsHeldLock, ReadsDoNotWaitAndWritesGiveUpSoon) {
    ASSERT_TRUE(reg_.WriteValue("MRU1", "/a.txt"));
    ASSERT_TRUE(reg_.WriteValue("Button Width", 80));
    const std::string before = ReadAll(File());
    const int held = open((folder_ / ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    for (int run = 0; run < 4; ++run) {
        for (int i = 1; i <= 10; ++i)
            EXPECT_EQ(reg_.ReadValue("MRU" + std::to_string(i), ""), SettingValue(i == 1 ? "/a.txt" : ""));
        EXPECT_EQ(reg_.ReadValue("View Taskbar", 1), SettingValue(1));
        EXPECT_EQ(reg_.ReadValue("Button Width", 75), SettingValue(80));
        EXPECT_FALSE(reg_.WriteValue("View Taskbar", true));
        EXPECT_FALSE(reg_.WriteValue("Button Width", 90));
        for (int i = 1; i <= 13; ++i) EXPECT_FALSE(reg_.WriteValue("MRU" + std::to_string(i), "/b.txt"));
        EXPECT_FALSE(reg_.WriteValue("Maximized", 1));
    }
    EXPECT_EQ(ReadAll(File()), before);
    close(held);
    EXPECT_TRUE(reg_.WriteValue("Maximized", 1));
    EXPECT_EQ(reg_.ReadValue("Maximized", 0), SettingValue(1));
}

// A settings file of many keys and values, read and written as a start-up
// and a close would. Only the test's time limit watches the time.
TEST_F(SettingsStore, LargeFileReadsAndWritesInLinearTime) {
    constexpr int kKeys = 10'000, kValues = 2'000;
    std::string file = kHeader;
    for (int i = 0; i < kValues; ++i) file += "\"Value" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\n";
    file += "\"value7\"=dword:00000007\n";  // the later line wins
    for (int i = 0; i < kKeys; ++i)
        file += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Key" + std::to_string(i) + "]\n\"V\"=dword:00000001\n";
    file += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\CORVEX\\ORYX]\n\"Late\"=\"merged\"\n";
    Seed(file);
    EXPECT_EQ(reg_.ReadValue("Value7", 0), SettingValue(7));
    EXPECT_EQ(reg_.ReadValue("Value1999", ""), SettingValue("1999"));
    EXPECT_EQ(reg_.ReadValue("Late", ""), SettingValue("merged"));
    EXPECT_TRUE(reg_.WriteValue("VALUE3", "three"));
    EXPECT_TRUE(reg_.WriteValue("New", 1));
    TRegistryEnhanced other;
    other.RootKey = TRootKey::hkLocalMachine;
    other.Key = "\\SOFTWARE\\Vendor\\Key9999";
    EXPECT_EQ(other.ReadValue("V", 0), SettingValue(1));
    EXPECT_TRUE(other.WriteValue("V", 2));

    // The later header's value joins the key; written values keep their place.
    std::string expected = kHeader;
    for (int i = 0; i < kValues; ++i)
        expected += "\"Value" + std::to_string(i) + "\"=\"" + (i == 3 ? "three" : std::to_string(i)) + "\"\n";
    expected += "\"value7\"=dword:00000007\n\"Late\"=\"merged\"\n\"New\"=dword:00000001\n\n";
    for (int i = 0; i < kKeys; ++i)
        expected += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Key" + std::to_string(i) + "]\n\"V\"=dword:0000000" +
                    (i == kKeys - 1 ? "2" : "1") + "\n\n";
    EXPECT_EQ(ReadAll(File()), expected);
    EXPECT_EQ(reg_.ReadValue("VALUE3", ""), SettingValue("three"));
    EXPECT_EQ(reg_.ReadValue("New", 0), SettingValue(1));
    EXPECT_EQ(other.ReadValue("V", 0), SettingValue(2));
}

// Reading one key straight from the text finds what the whole document
// finds, whatever the text holds.
TEST(RegDocumentText, ReadingOneKeyAgreesWithTheDocument) {
    const std::vector<std::string> pieces = {
        "REGEDIT4",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX]",
        "[hkey_local_machine\\software\\CORVEX\\oryx]",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex\\ORYX\\Sub]",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvex]",
        "[HKEY_LOCAL_MACHINE]",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Corvex\\ORYX]",
        "[HKEY_CURRENT_USER\\SOFTWARE\\Corvex\\ORYX]",
        "\"X\"=\"one\"",
        "\"x\"=dword:00000002",
        "\"Y\"=hex:01,\\",
        "  02,03",
        "\"Y\"=hex(4):05,00,00,00",
        "@=\"unnamed\"",
        "\"Broken=dword:1",
        "garbage \x01",
        "  \"X\"  =  \"spaced\"  \r",
    };
    const std::vector<std::vector<std::string>> paths = {{},
                                                         {"SOFTWARE"},
                                                         {"software", "corvex"},
                                                         {"SOFTWARE", "Corvex", "ORYX"},
                                                         {"SOFTWARE", "Corvex", "ORYX", "Sub"},
                                                         {"Other"}};
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int lines = static_cast<int>(random() % 25);
        for (int i = 0; i < lines; ++i) text += pieces[random() % pieces.size()] + (random() % 4 ? "\n" : "\r\n");
        const RegDocument document("HKEY_LOCAL_MACHINE", text);
        for (const auto& path : paths) {
            const RegDocument::KeyRead read = RegDocument::ReadKey("HKEY_LOCAL_MACHINE", text, path);
            ASSERT_EQ(read.exists, document.KeyExists(path)) << text;
            const RegSection* key = document.FindKey(path);
            for (const char* name : {"X", "y", "", "Broken"}) {
                const RegValue* expected = key ? RegDocument::FindValue(*key, name) : nullptr;
                const RegValue* found = read.Find(name);
                ASSERT_EQ(found == nullptr, expected == nullptr) << text << name;
                if (found) {
                    ASSERT_EQ(*found, *expected) << text << name;
                }
            }
        }
    }
}

TEST(SettingsFolder, FollowsTheBaseDirectoryConvention) {
    const auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto xdg = keep("XDG_CONFIG_HOME"), home = keep("HOME");
    struct Case {
        const char *xdg, *home, *folder;
    };
    const Case cases[] = {
        {"/cfg", "/home/me", "/cfg/ORYX"},
        {"relative", "/home/me", "/home/me/.config/ORYX"},
        {"", "/home/me", "/home/me/.config/ORYX"},
        {nullptr, "/home/you", "/home/you/.config/ORYX"},
    };
    for (const Case& c : cases) {
        c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", c.home, 1);
        EXPECT_EQ(SettingsFolder(), fs::path(c.folder));
    }
    OverrideSettingsFolder("/elsewhere");
    EXPECT_EQ(SettingsFolder(), fs::path("/elsewhere"));
    OverrideSettingsFolder({});
    xdg ? setenv("XDG_CONFIG_HOME", xdg->c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    home ? setenv("HOME", home->c_str(), 1) : unsetenv("HOME");
}

}  // namespace
