// The configuration and the language files on the real windows: what the
// first showing reads, what closing writes, a language file that reaches
// captions, menus and messages, switching from the menu, and the template.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session.h"
#include "config/ini_file.h"
#include "gui/job_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"
#include "gui/subtitle_window.h"
#include "modal_script.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

const std::string kVideoTs = std::string(ORVANE_TEST_DATA) + "/pal/VIDEO_TS";

// An empty program folder of its own for each test.
struct ProgramFolder {
    test::TempDir dir;
    ProgramFolder() { setenv("ORVANE_HOME", dir.path().c_str(), 1); }
    std::string file(const std::string& name) const { return dir.file(name); }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

QStringList actionNames(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions()) names << a->objectName() + (a->isChecked() ? "*" : "");
    return names;
}

// Messages 0..last as a language file's section, message `n` replaced.
std::string messagesSection(const MessageTable& defaults, size_t last, size_t n,
                            const std::string& text) {
    std::string s = "[Messages]\r\n";
    for (size_t i = 0; i <= last; ++i)
        s += "MsgStr_" + std::to_string(i) + "=" + (i == n ? text : defaults.get(i)) + "\r\n";
    return s;
}

}  // namespace

class ConfigurationTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void missingFileGivesTheDefaults();
    void closingWritesWhatTheNextStartReads();
    void languageFileTranslatesWindowsAndMessages();
};

void ConfigurationTest::missingFileGivesTheDefaults() {
    ProgramFolder home;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.configurationPath(), home.file("Orvane.ini"));
    QCOMPARE(w.currentZoom(), 1000);
    QCOMPARE(w.previewOptions().backMode, uint8_t{PreviewOptions::Preset});
    QCOMPARE(w.previewOptions().aspectRatioMode, uint8_t{0});
    JobDialog& job = w.jobDialog();
    QVERIFY(job.RadioAction[0]->isChecked());
    QVERIFY(job.CheckBoxPictTiming->isChecked());
    QVERIFY(!job.CheckBoxAvoidTimeRestart->isChecked());
    QVERIFY(w.subtitleWindow().CheckBoxScrollDown->isChecked());
    // English texts, and no language to choose.
    QCOMPARE(job.RadioAction[2]->text(), QString("Save SubPictures As SUP Files"));
    QCOMPARE(job.BitBtnStart->text(), QString("&Start"));
    QCOMPARE(w.OpenVob1->text(), QString("&Open Vob(s)"));
    QCOMPARE(w.ButtonPause->text(), QString("&Pause ") + QChar(0x2016));
    QVERIFY(w.LanguageMenu->actions().isEmpty());
    QCOMPARE(w.session().messages().get(25), std::string("No VOB selected !!"));

    // The first closing makes the file, without the OCR limits.
    QVERIFY(w.close());
    const IniFile ini(home.file("Orvane.ini"));
    QCOMPARE(ini.readInteger("PREVIEW CFG", "Zoom", -1), 1000);
    QCOMPARE(ini.readInteger("CONFIG", "ActionMode", -1), 0);
    QCOMPARE(ini.readString("CONFIG", "OpenDialogVob", "?"), home.dir.path() + "/");
    QCOMPARE(ini.readInteger("BMP OUT TC & RES", "Enabled", -1), 1);
    QVERIFY(!ini.hasKey("OCR SETTING", "Sensibility"));
}

void ConfigurationTest::closingWritesWhatTheNextStartReads() {
    ProgramFolder home;
    const std::string vobFolder = kVideoTs + "/";
    {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Through the display options panel: 150 %.
        w.ButtonPreviewOptionClick();
        w.SpinEditZoom->setValue(150);
        QCOMPARE(w.currentZoom(), 1500);
        JobDialog& job = w.jobDialog();
        job.RadioAction[3]->click();
        job.CheckBoxAvoidTimeRestart->setChecked(true);
        job.CheckBoxPictTiming->setChecked(false);
        w.subtitleWindow().CheckBoxScrollDown->setChecked(false);
        // The job dialog's file dialog leaves its folder behind.
        ModalScript script;
        script.add([&](QWidget* m) {
            return test::answerFileDialog(m, QString::fromStdString(vobFolder + "VTS_01_1.VOB"));
        });
        QCOMPARE(w.ui().openFile("What To Do ?", JobDialog::kVobFilter),
                 vobFolder + "VTS_01_1.VOB");
        QVERIFY(w.close());
    }
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.currentZoom(), 1500);
    QCOMPARE(w.previewOptions().zoom, int16_t{1500});
    JobDialog& job = w.jobDialog();
    QVERIFY(job.RadioAction[3]->isChecked());
    QVERIFY(job.CheckBoxAvoidTimeRestart->isChecked());
    QVERIFY(!job.CheckBoxPictTiming->isChecked());
    QVERIFY(!job.CheckBoxPictTiming->isEnabled());  // not for the show-only action
    QVERIFY(!w.subtitleWindow().CheckBoxScrollDown->isChecked());
    QCOMPARE(w.session().settings().openDialogVob, vobFolder);
    // The next file dialog starts there.
    ModalScript script;
    QString startedIn;
    script.add([&](QWidget* m) {
        auto* d = qobject_cast<QFileDialog*>(m);
        if (!d) return false;
        startedIn = d->directory().absolutePath();
        d->reject();
        return true;
    });
    QCOMPARE(w.ui().openFile("What To Do ?", JobDialog::kVobFilter), std::string());
    QCOMPARE(startedIn, QString::fromStdString(kVideoTs));
    // A matrix is opened from its own folder, not from the VOBs'.
    ConfigSettings s;
    QCOMPARE(startFolderSlot(s, {"Open", "Orvane Charater Matrix (*.sum)|*.sum", "sum", {}}, false),
             &s.openDialogCharMatrix);
    QCOMPARE(startFolderSlot(s, {"Save", "Orvane Charater Matrix (*.sum)|*.sum", "sum", {}}, true),
             &s.saveDialogCharMatrix);
    QCOMPARE(
        startFolderSlot(s, {{}, "Orvane Text File (*.ovt)|*.ovt|All (*.*)|*.*", "ovt", {}}, false),
        &s.openDialogOrvaneText);
    QCOMPARE(startFolderSlot(s, {"Save BMPs : Enter beginning of File Name", {}, {}, {}}, true),
             &s.saveDialogBmpSup);
    QCOMPARE(startFolderSlot(s, {{}, "SubViewer File (*.sub)|*.sub", "sub", {}}, true),
             &s.saveDialogText);
    QCOMPARE(
        startFolderSlot(
            s, {"Load a Background Image", "Image File (*.bmp;*.jpg)|*.bmp;*.jpg", {}, {}}, false),
        static_cast<std::string*>(nullptr));
}

void ConfigurationTest::languageFileTranslatesWindowsAndMessages() {
    ProgramFolder home;
    MessageTable english;
    english.setDefaultMessages();
    // Windows-1252 bytes: 0xE9 is e acute.
    home.write("lang/Francais.lng",
               "[Form6]\r\n"
               "Form6.Form6.Caption=Que faire ?\r\n"
               "Form6.RadioGroupAction.Items2=Sauver en SUP\r\n"
               "Form6.BitBtnStart.Caption=&D\xE9marrer\r\n"
               "Form6.ButtonOpenIfo.Hint=Les langues de l'IFO\r\n"
               "[Form1.MainMenu1]\r\n"
               "Form1.MainMenu1.File1.OpenVob1=&Ouvrir les VOB\r\n"
               "[Form3]\r\n"
               "Form3.CheckBoxScrollDown.Caption=D\xE9\x66iler\r\n" +
                   messagesSection(english, 25, 25, "Aucun VOB choisi !!"));
    home.write("lang/Deutsch.lng",
               "[Form6]\r\nForm6.RadioGroupAction.Items2=SUP speichern\r\n"
               "[Form1.MainMenu1]\r\nForm1.MainMenu1.File1.OpenVob1=VOB &\xF6\x66\x66nen\r\n");
    home.write("Orvane.ini", "[CONFIG]\r\nLanguageFileName=Francais\r\n");

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    JobDialog& job = w.jobDialog();
    QCOMPARE(job.windowTitle(), QString("Que faire ?"));
    QCOMPARE(job.RadioAction[2]->text(), QString("Sauver en SUP"));
    QCOMPARE(job.RadioAction[1]->text(), QString("Save SubPictures As BMP"));
    QCOMPARE(job.BitBtnStart->text(), QString::fromUtf8("&Démarrer"));
    QCOMPARE(job.ButtonOpenIfo->toolTip(), QString("Les langues de l'IFO"));
    QCOMPARE(w.OpenVob1->text(), QString("&Ouvrir les VOB"));
    QCOMPARE(w.subtitleWindow().CheckBoxScrollDown->text(), QString::fromUtf8("Défiler"));
    QCOMPARE(actionNames(w.LanguageMenu), (QStringList{"Deutsch", "Francais*"}));

    // The message of an empty Start comes from the file.
    ModalScript script;
    script.onDialog(&job, [&] { test::clickLater(job.BitBtnStart); });
    script.add([&](QWidget* m) { return test::pressStandard(m, QMessageBox::Ok); });
    script.onDialog(&job, [&] { job.reject(); });
    w.OpenVob1Click();
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 5000);
    QCOMPARE(script.messages, QStringList{"Aucun VOB choisi !!"});

    // Switching keeps what the new file does not say.
    w.LanguageMenu->actions().at(0)->trigger();
    QCOMPARE(actionNames(w.LanguageMenu), (QStringList{"Deutsch*", "Francais"}));
    QCOMPARE(job.RadioAction[2]->text(), QString("SUP speichern"));
    QCOMPARE(job.BitBtnStart->text(), QString::fromUtf8("&Démarrer"));
    QCOMPARE(w.OpenVob1->text(), QString::fromUtf8("VOB &öffnen"));
    QCOMPARE(w.session().settings().languageFileName, std::string("Deutsch"));

    // "Save Lang": the windows' texts as they are now, by control name.
    w.Button1->click();
    const IniFile tpl(home.file("lang/New_LangFile.lng"), IniFile::Values::Exact);
    QCOMPARE(tpl.readString("Form6", "Form6.RadioGroupAction.Items2", "?"),
             std::string("SUP speichern"));
    QCOMPARE(tpl.readString("Form6", "Form6.BitBtnStart.Caption", "?"),
             std::string("&D\xE9marrer"));
    QCOMPARE(tpl.readString("Form6", "Form6.CheckBoxPictTiming.Caption", "?"),
             std::string("+ TC && Res."));
    QCOMPARE(tpl.readString("Form1.MainMenu1", "Form1.MainMenu1.File1.OpenVob1", "?"),
             std::string("VOB &\xF6\x66\x66nen"));
    QCOMPARE(tpl.readString("Form11", "Form11.ButtonNoStop.Caption", "?"),
             std::string("No &Stop >>"));
    QCOMPARE(tpl.readString("Form2", "Form2.EditText.Text", "?"), std::string());
    QCOMPARE(tpl.readString("Messages", "MsgStr_25", "?"), std::string("Aucun VOB choisi !!"));
    // Numeric edits, spin boxes and the radio group's own buttons are no
    // controls of their own in a language file.
    QVERIFY(!tpl.hasKey("Form6", "Form6.Word_uHour.Text"));
    QVERIFY(!tpl.hasKey("Form6", "Form6.RadioGroupAction0.Caption"));
    QVERIFY(!tpl.hasKey("Form1", "Form1.SpinEditZoom.Text"));
    // Another window's controls are not the main window's.
    QVERIFY(!tpl.hasKey("Form1", "Form1.BitBtnStart.Caption"));

    // The choice is kept for the next start.
    QVERIFY(w.close());
    QCOMPARE(IniFile(home.file("Orvane.ini")).readString("CONFIG", "LanguageFileName", "?"),
             std::string("Deutsch"));
}

QTEST_MAIN(ConfigurationTest)
#include "configuration_test.moc"
