// The settings file "trz4Steuerung.ini": reading at start-up into the COM-port manager and
// writing it back at exit, in a scratch current directory.
#include "app/language.h"
#include "app/Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "cardlink/Vek_Com.h"
#include "panel/testing/panel_testing.h"
#include "errors/VEK_errorV3.h"
#include "inifile/inifile.h"
#include "platform/files.h"
#include "platform/testing/files_testing.h"
#include "platform/registry.h"
#include "platform/testing/registry_testing.h"
#include "platform/tests/scratch_dir.h"
#include "platform/serialcomm_key.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char *kIniFile = "trz4Steuerung.ini";

int comRingPanel() {
    static int panel = [] {
        registerTrz4SteuerungGui();
        return LoadPanel(0, kTrz4GuiResource, MAINPANEL);
    }();
    return panel;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramLanguage(Language::German);
        previous = fs::current_path();
        fs::current_path(directory);

        regResetForTesting();
        RegCreateKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
        RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, "\\Device\\Serial0", "COM3");
        RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, "\\Device\\Serial1", "COM4");
        vekComResetForTesting();
        VekCom_RegisterComControl(comRingPanel(), COMPORT);
        VekCom_RegisterAdressControl(comRingPanel(), ADRESSE);
    }
    void TearDown() override {
        setSettingsDirectory("");
        VEK_Fehleruserstring(nullptr);
        vekComResetForTesting();
        regResetForTesting();
        fs::current_path(previous);
    }

    void writeIni(const std::string &text) { std::ofstream(kIniFile, std::ios::binary) << text; }

    // The manager's three settings as "com/lcom/address".
    static std::string settings() {
        return std::to_string(VekCom_ComPortGet()) + "/" + std::to_string(VekCom_LastComPortGet()) +
               "/" + VekCom_AdresseGet();
    }

    ScratchDir scratch{"trz4-settings-"};
    const fs::path directory{scratch.path()};
    fs::path previous;
};

} // namespace

TEST_F(SettingsTest, CompleteFileIsApplied) {
    writeIni("[com]\ncom = 3\nlcom = 3\nadresse = 49\n");
    EXPECT_EQ(Func_IniDateiLaden(), 0);
    EXPECT_EQ(settings(), "3/3/1");
    int ring = -1;
    GetCtrlVal(comRingPanel(), COMPORT, &ring);
    EXPECT_EQ(ring, 3);
}

TEST_F(SettingsTest, MissingKeysReportTheFirstAndApplyTheOthers) {
    struct Case {
        const char *text;
        int result;
        const char *settings;
    };
    for (Case c : {Case{"[com]\ncom = 3\nadresse = 38\n", -801452, "3/0/&"},
                   Case{"[com]\nadresse = 38\n", -801451, "0/0/&"},
                   Case{"[com]\ncom = 4\nlcom = 4\n", -801453, "4/4/1"},
                   Case{"[com]\ncom = drei\nlcom = 5\nadresse = 38\n", -801451, "0/5/&"},
                   Case{"[andere]\ncom = 3\n", -801451, "0/0/1"}, Case{"", -801451, "0/0/1"}}) {
        SCOPED_TRACE(c.text);
        vekComResetForTesting();
        VekCom_RegisterComControl(comRingPanel(), COMPORT);
        writeIni(c.text);
        EXPECT_EQ(Func_IniDateiLaden(), c.result);
        EXPECT_EQ(settings(), c.settings);
    }
}

TEST_F(SettingsTest, ValuesTheManagerRefusesAreDroppedSilently) {
    VekCom_AdresseSet('&');
    // 305 = 0x131: its lowest byte is "1"; COM 7 is not present; 300 is no COM port.
    writeIni("[com]\ncom = 7\nlcom = 300\nadresse = 305\n");
    EXPECT_EQ(Func_IniDateiLaden(), 0);
    EXPECT_EQ(settings(), "0/0/1");
    writeIni("[com]\ncom = 3\nlcom = 3\nadresse = 50\n");
    EXPECT_EQ(Func_IniDateiLaden(), 0);
    EXPECT_EQ(settings(), "3/3/1"); // "2" is no address of this system
}

TEST_F(SettingsTest, MissingOrUnreadableFileChangesNothing) {
    VekCom_ComPortChose(4);
    EXPECT_EQ(Func_IniDateiLaden(), -802201);
    EXPECT_EQ(settings(), "4/0/1");
    // A directory of that name opens but cannot be read.
    fs::create_directory(kIniFile);
    EXPECT_EQ(Func_IniDateiLaden(), -801202);
    EXPECT_EQ(settings(), "4/0/1");
}

TEST_F(SettingsTest, WritingStoresTheThreeSettingsAlone) {
    writeIni("; von Hand\n[com]\ncom = 3\nextra = 1\n[andere]\nx = y\n");
    VekCom_ComPortChose(4);
    VekCom_LastComPortSet(3);
    EXPECT_EQ(Func_IniDateiSchreiben(), 0);
    std::string text = readFileBytes(kIniFile);
    EXPECT_EQ(text.find("extra"), std::string::npos) << text;
    EXPECT_EQ(text.find("andere"), std::string::npos) << text;
    EXPECT_EQ(text.find("von Hand"), std::string::npos) << text;

    IniDocument *doc = Ini_New(1);
    ASSERT_EQ(Ini_ReadFromFile(doc, kIniFile), 0);
    int com = 0, lcom = 0, adresse = 0;
    EXPECT_EQ(Ini_GetInt(doc, "com", "com", &com), 1);
    EXPECT_EQ(Ini_GetInt(doc, "com", "lcom", &lcom), 1);
    EXPECT_EQ(Ini_GetInt(doc, "com", "adresse", &adresse), 1);
    Ini_Dispose(doc);
    EXPECT_EQ(com, 4);
    EXPECT_EQ(lcom, 3);
    EXPECT_EQ(adresse, 49);

    // What was written is read back unchanged.
    vekComResetForTesting();
    VekCom_RegisterComControl(comRingPanel(), COMPORT);
    EXPECT_EQ(Func_IniDateiLaden(), 0);
    EXPECT_EQ(settings(), "4/3/1");
}

TEST_F(SettingsTest, WriteFailureIsReportedAndKeepsNothingBehind) {
    fs::create_directory(kIniFile);
    std::ofstream(std::string(kIniFile) + "/inhalt") << "x";
    EXPECT_EQ(Func_IniDateiSchreiben(), -800203);
    EXPECT_TRUE(fs::is_directory(kIniFile));
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(directory))
        ++entries;
    EXPECT_EQ(entries, 1); // no temporary file left
}

TEST_F(SettingsTest, WriteFailureHandsTheFileAndTheSystemsReasonToTheMessage) {
    VEK_Fehlersprache(1);
    const std::string file = (directory / kIniFile).string();
    // The file's place is taken by a directory: no system call fails, the library refuses.
    fs::create_directory(kIniFile);
    ASSERT_EQ(Func_IniDateiSchreiben(), -800203);
    EXPECT_EQ(std::string(VEK_Fehlermeldung(-800203)),
              "Fehler beim schreiben in die INI-Datei\n" + file + ": keine gewöhnliche Datei");
    fs::remove(kIniFile);

    // The temporary file cannot be created (a read-only file system, as root meets it too).
    writeIni("[com]\ncom = 3\n");
    setFileFaultForTesting(FileFault::Create, EROFS);
    const int code = Func_IniDateiSchreiben();
    setFileFaultForTesting(FileFault::None, 0);
    ASSERT_EQ(code, -800203);
    EXPECT_EQ(std::string(VEK_Fehlermeldung(code)),
              "Fehler beim schreiben in die INI-Datei\n" + file + ": " + std::strerror(EROFS));
    EXPECT_EQ(readFileBytes(kIniFile), "[com]\ncom = 3\n");

    // In a folder too long for the message the path gives way, not the reason.
    const fs::path deep = fs::path(std::string(200, 'a')) / std::string(200, 'b');
    fs::create_directories(deep);
    setSettingsDirectory(deep.string());
    setFileFaultForTesting(FileFault::Create, EROFS);
    const int deepCode = Func_IniDateiSchreiben();
    setFileFaultForTesting(FileFault::None, 0);
    setSettingsDirectory("");
    ASSERT_EQ(deepCode, -800203);
    const std::string deepMessage = VEK_Fehlermeldung(deepCode);
    const std::string ending = std::string("/trz4Steuerung.ini: ") + std::strerror(EROFS);
    ASSERT_GT(deepMessage.size(), ending.size());
    EXPECT_EQ(deepMessage.substr(deepMessage.size() - ending.size()), ending);

    // A successful write leaves no user string behind for the next message.
    EXPECT_EQ(Func_IniDateiSchreiben(), 0);
    EXPECT_EQ(std::string(VEK_Fehlermeldung(-800203)), "Fehler beim schreiben in die INI-Datei");
}

TEST_F(SettingsTest, ChosenSettingsDirectoryHoldsTheFile) {
    EXPECT_EQ(settingsFilePath(), kIniFile);
    fs::create_directory("woanders");
    setSettingsDirectory("woanders");
    EXPECT_EQ(settingsFilePath(), "woanders/trz4Steuerung.ini");
    VekCom_ComPortChose(4);
    EXPECT_EQ(Func_IniDateiSchreiben(), 0);
    EXPECT_TRUE(fs::exists("woanders/trz4Steuerung.ini"));
    EXPECT_FALSE(fs::exists(kIniFile));

    vekComResetForTesting();
    VekCom_RegisterComControl(comRingPanel(), COMPORT);
    EXPECT_EQ(Func_IniDateiLaden(), 0);
    EXPECT_EQ(settings(), "4/0/1");

    setSettingsDirectory("woanders/");
    EXPECT_EQ(settingsFilePath(), "woanders/trz4Steuerung.ini");
    setSettingsDirectory("");
    EXPECT_EQ(settingsFilePath(), kIniFile);
    EXPECT_EQ(Func_IniDateiLaden(), -802201);
}

TEST_F(SettingsTest, ReadAndWriteIniWorkOnAGivenDocument) {
    IniDocument *doc = Ini_New(1);
    VekCom_ComPortChose(3);
    VekCom_AdresseSet('&');
    EXPECT_EQ(Mainpanel_WriteIni(doc), 0);
    int adresse = 0;
    EXPECT_EQ(Ini_GetInt(doc, "com", "adresse", &adresse), 1);
    EXPECT_EQ(adresse, 38);
    vekComResetForTesting();
    VekCom_RegisterComControl(comRingPanel(), COMPORT);
    EXPECT_EQ(Mainpanel_ReadIni(doc), 0);
    EXPECT_EQ(settings(), "3/0/&");
    Ini_Dispose(doc);
}
