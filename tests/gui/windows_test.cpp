// Every window of Orvane as language files and people reach it: the
// character matrix editor through its controls (also while a job learns
// glyphs), the about box, a name for every caption, the template that
// "Save Lang" writes, a language file switched from the menu, and the job
// dialog's time fields and file limit.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/session.h"
#include "config/ini_file.h"
#include "gui/about_dialog.h"
#include "gui/font_colour_dialog.h"
#include "gui/job_dialog.h"
#include "gui/language_binding.h"
#include "gui/main_window.h"
#include "gui/matrix_editor_dialog.h"
#include "gui/new_character_dialog.h"
#include "gui/numeric_edit.h"
#include "gui/qt_text.h"
#include "modal_script.h"
#include "support/temp_dir.h"

using namespace orvane;
using namespace orvane::gui;
using orvane::test::ModalScript;

namespace {

const std::string kData = ORVANE_TEST_DATA;
const std::string kVob = kData + "/pal/VIDEO_TS/VTS_01_1.VOB";
const std::string kShippedMatrix =
    std::string(ORVANE_SHIPPED_MATRICES) + "/dejavu-sans-bold-30.sum";

struct ProgramFolder {
    test::TempDir dir;
    ProgramFolder() { setenv("ORVANE_HOME", dir.path().c_str(), 1); }
    std::string file(const std::string& name) const { return dir.file(name); }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

// A main window on its own program folder, shown.
struct ShownWindow {
    ProgramFolder home;
    MainWindow w;
    ShownWindow() {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
};

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

void addEntries(Session& s, const std::vector<std::string>& texts) {
    for (const std::string& t : texts) {
        MatrixEntry e;
        e.text = t;
        e.width = 4;
        e.height = 6;
        e.glyph.set(1, 2);
        s.matrix().add(e);
    }
}

QStringList listRows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

QString currentRowText(const MatrixEditorDialog& d) {
    const QListWidgetItem* item = d.ListBoxMatrix->currentItem();
    return item ? item->text() : QString();
}

// A message box's text, and the box answered with `button`.
ModalScript::Step answerBox(QString* text, int button) {
    return [text, button](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) return false;
        if (text) *text = box->text();
        return test::pressStandard(m, button);
    };
}

// The text a widget shows as its caption, if it is one that carries text.
QString captionText(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->pixmap().isNull() ? l->text() : QString();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
}

void collectNames(const ControlNode& n, std::multiset<std::string>& names) {
    for (const ControlNode& c : n.children) {
        if (c.kind == ControlKind::MainMenu) continue;
        names.insert(c.name);
        collectNames(c, names);
    }
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void editorListsSortsAndFinds();
    void editorModifiesDeletesAndDescribes();
    void editorOpensAnotherMatrixAfterTheSaveQuestion();
    void editorFollowsARunningOcrJob();
    void aboutBoxShowsTheVersionOverAPicture();
    void everyCaptionIsReachableByName();
    void templateListsEveryWindowAndReadsBackUnchanged();
    void shippedLanguageTranslatesEveryWindowFromTheMenu();
    void jobDialogCarriesAndResetsTheTimeLine();
    void jobDialogRefusesMoreThan1024Files();
};

void WindowsTest::editorListsSortsAndFinds() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    addEntries(w.session(), {"b", "a", "B", "", "\xE9t\xE9", "a"});
    w.session().matrix().setModified(false);
    MatrixEditorDialog& d = w.matrixEditorDialog();
    d.matrixChanged();
    // Alt+C, then E: the editor opens from its menu item, modeless.
    QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(w.CharacterMatrix1->menu()->isVisible());
    QTest::keyClick(w.CharacterMatrix1->menu(), Qt::Key_E);
    QTRY_VERIFY(d.isVisible());
    QVERIFY(!d.isModal());
    QCOMPARE(d.windowTitle(), QString("View/Edit Character Matrix -  -"));
    QCOMPARE(listRows(d.ListBoxMatrix),
             (QStringList{"\"\"    00004", "\"a\"    00002", "\"a\"    00006", "\"b\"    00001",
                          "\"B\"    00003", QString::fromUtf8("\"été\"    00005")}));
    QCOMPARE(d.ListBoxMatrix->currentRow(), 0);
    QCOMPARE(d.LabelCharIndex->text(), QString("4"));
    QCOMPARE(d.ImageChar->pixmap().size(), QSize(8, 12));
    QCOMPARE(d.ImageChar->pixmap().toImage().pixel(2, 4), qRgb(255, 255, 255));
    QCOMPARE(d.LabelWidth->text() + "/" + d.LabelHeight->text(), QString("4/6"));

    // Typing selects by the text's first character, case-sensitive.
    QTest::keyClick(d.ListBoxMatrix, 'b');
    QCOMPARE(d.LabelCharIndex->text(), QString("1"));
    QTest::keyClick(d.ListBoxMatrix, 'B');
    QCOMPARE(d.LabelCharIndex->text(), QString("3"));
    QCOMPARE(d.EditText->text(), QString("B"));
    QCOMPARE(d.LabelNbChar->text(), QString("1"));
    QTest::keyClick(d.ListBoxMatrix, 'z');  // nothing begins with it
    QCOMPARE(d.LabelCharIndex->text(), QString("3"));
    // Arrow keys show the row's entry.
    QTest::keyClick(d.ListBoxMatrix, Qt::Key_Down);
    QCOMPARE(d.LabelCharIndex->text(), QString("5"));

    // Index order, then back: each selects the first row.
    d.RadioSort[1]->click();
    QCOMPARE(listRows(d.ListBoxMatrix).first(), QString("\"b\"    00001"));
    QCOMPARE(listRows(d.ListBoxMatrix).last(), QString("\"a\"    00006"));
    QCOMPARE(d.ListBoxMatrix->currentRow(), 0);
    d.RadioSort[0]->click();
    QCOMPARE(currentRowText(d), QString("\"\"    00004"));

    // Stay on TOP: on by default, off and on again.
    QVERIFY(d.CheckBoxOnTop->isChecked());
    QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
    d.CheckBoxOnTop->click();
    QVERIFY(!(d.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(d.isVisible());
    d.CheckBoxOnTop->click();
    QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!w.session().matrix().modified());
    d.BitBtn1->click();
    QVERIFY(!d.isVisible());
}

void WindowsTest::editorModifiesDeletesAndDescribes() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    addEntries(w.session(), {"a", "x", "m", "q"});
    w.session().matrix().setModified(false);
    MatrixEditorDialog& d = w.matrixEditorDialog();
    d.matrixChanged();
    w.EditCharMatrix1->trigger();
    QTRY_VERIFY(d.isVisible());

    // Modify: at most 20 characters; the row moves, the entry stays selected.
    QTest::keyClick(d.ListBoxMatrix, 'a');
    d.EditText->selectAll();
    QTest::keyClicks(d.EditText, "zzzzzzzzzzzzzzzzzzzzzzzz");
    QCOMPARE(d.LabelNbChar->text(), QString("20"));
    d.ButtonModify->click();
    QCOMPARE(w.session().matrix().entry(1).text, std::string(20, 'z'));
    QCOMPARE(currentRowText(d), "\"" + QString(20, 'z') + "\"    00001");
    QCOMPARE(d.ListBoxMatrix->currentRow(), 3);
    QCOMPARE(d.LabelCharIndex->text(), QString("1"));
    QVERIFY(w.session().matrix().modified());
    QVERIFY(w.LabelMatrix->text().endsWith(" *"));

    // Delete asks; No keeps it, Yes gives its number to the last entry and
    // keeps the selection at the same place.
    ModalScript script;
    QString question;
    QTest::keyClick(d.ListBoxMatrix, 'm');  // row 0: "m" 3
    script.add(answerBox(&question, QMessageBox::No));
    d.ButtonDelete->click();
    QVERIFY(script.done());
    QCOMPARE(question, QString("Delete character \"m\" ?"));
    QCOMPARE(w.session().matrix().size(), size_t{4});
    script.add(answerBox(nullptr, QMessageBox::Yes));
    QTest::keyClick(d.ListBoxMatrix, Qt::Key_Delete);  // the Del key does the same
    QVERIFY(script.done());
    QCOMPARE(w.session().matrix().size(), size_t{3});
    QCOMPARE(w.session().matrix().entry(3).text, std::string("q"));
    QCOMPARE(listRows(d.ListBoxMatrix), (QStringList{"\"q\"    00003", "\"x\"    00002",
                                                     "\"" + QString(20, 'z') + "\"    00001"}));
    QCOMPARE(d.ListBoxMatrix->currentRow(), 0);
    QCOMPARE(d.LabelCharIndex->text(), QString("3"));

    // The description: at most 255 characters, the matrix modified.
    w.session().matrix().setModified(false);
    d.MemoComment->setFocus();
    QTest::keyClicks(d.MemoComment, "Font of my DVD");
    QTest::keyClick(d.MemoComment, Qt::Key_Return);
    QTest::keyClicks(d.MemoComment, QString(260, 'c'));
    const std::string comment = w.session().matrix().comment();
    QCOMPARE(comment.size(), size_t{255});
    QCOMPARE(comment.substr(0, 16), std::string("Font of my DVD\r\n"));
    QCOMPARE(d.MemoComment->toPlainText().size(), 254);  // the CR LF is one line break
    QVERIFY(w.session().matrix().modified());
    d.close();
    QCOMPARE(w.session().matrix().comment(), comment);
}

void WindowsTest::editorOpensAnotherMatrixAfterTheSaveQuestion() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    addEntries(w.session(), {"a"});  // modified
    MatrixEditorDialog& d = w.matrixEditorDialog();
    w.EditCharMatrix1->trigger();
    ModalScript script;
    QString question;
    script.add(answerBox(&question, QMessageBox::No));
    script.add([](QWidget* m) { return test::answerFileDialog(m, q(kShippedMatrix)); });
    d.ButtonOpenChMatrix->click();
    QVERIFY(script.done());
    QCOMPARE(question, QString("Character Matrix  has been modified.\nDo you want to Save it ?"));
    const CharMatrix& m = w.session().matrix();
    QVERIFY(m.size() > 50);
    QCOMPARE(static_cast<size_t>(d.ListBoxMatrix->count()), m.size());
    QCOMPARE(d.ListBoxMatrix->currentRow(), 0);
    QCOMPARE(d.windowTitle(), QString("View/Edit Character Matrix - dejavu-sans-bold-30.sum -"));
    QVERIFY(!m.comment().empty());
    QCOMPARE(d.MemoComment->toPlainText(), toQt(d.editor().memoText()));
    // Open and Save share the folder last used.
    const std::string folder = std::filesystem::path(kShippedMatrix).parent_path().string() + "/";
    QCOMPARE(w.session().settings().saveDialogCharMatrix, folder);
    QCOMPARE(w.session().settings().openDialogCharMatrix, folder);
}

void WindowsTest::editorFollowsARunningOcrJob() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    Session& s = w.session();
    // The disc's matrix without its "e" entries: the job learns them again,
    // each from a question.
    s.ocrPolicy().useEngine = false;
    QVERIFY(s.loadMatrixFile(kShippedMatrix, s.matrix()));
    for (size_t k = s.matrix().size(); k >= 1; --k)
        if (s.matrix().entry(k).text == "e") s.matrix().remove(k);
    const size_t before = s.matrix().size();
    MatrixEditorDialog& d = w.matrixEditorDialog();
    d.matrixChanged();
    w.EditCharMatrix1->trigger();
    QTRY_VERIFY(d.isVisible());

    ModalScript script;
    script.onDialog(&w.fontColourDialog(), [&] {
        w.fontColourDialog().ComboBoxTextColor->setCurrentIndex(3);
        test::clickLater(w.fontColourDialog().ButtonOk);
    });
    // Each glyph asked for: the one learned before it is in the editor's
    // list already, selected, and shown.
    int asked = 0;
    QStringList outOfStep;
    script.setFallback([&](QWidget* m) {
        NewCharacterDialog& nc = w.newCharacterDialog();
        if (m != &nc || !nc.isVisible() || nc.EditText->text() == "e") return false;
        const size_t n = s.matrix().size();
        if (static_cast<size_t>(d.ListBoxMatrix->count()) != n ||
            (asked > 0 && d.LabelCharIndex->text() != QString::number(n)) ||
            (asked > 0 && !currentRowText(d).endsWith(QString("%1").arg(n, 5, 10, QChar('0')))))
            outOfStep << QString("%1: %2 rows, %3 shown")
                             .arg(n)
                             .arg(d.ListBoxMatrix->count())
                             .arg(d.LabelCharIndex->text());
        ++asked;
        nc.EditText->setText("e");
        test::clickLater(nc.BitBtn1);
        return true;
    });
    JobRequest r;
    r.files = {kVob};
    QVERIFY(s.startButton(r));
    QTRY_VERIFY_WITH_TIMEOUT(s.jobOver() && !s.job().running, 30000);
    QVERIFY(script.done());
    QVERIFY(asked > 0);
    QVERIFY2(outOfStep.isEmpty(), qPrintable(outOfStep.join("; ")));
    QCOMPARE(s.matrix().size(), before + static_cast<size_t>(asked));
    QCOMPARE(static_cast<size_t>(d.ListBoxMatrix->count()), s.matrix().size());
    QCOMPARE(d.LabelCharIndex->text(), QString::number(s.matrix().size()));
    QCOMPARE(d.EditText->text(), QString("e"));
}

void WindowsTest::aboutBoxShowsTheVersionOverAPicture() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    AboutDialog& about = w.aboutDialog();
    ModalScript script;
    bool shown = false;
    script.onDialog(&about, [&] {
        // The version lies inside the picture.
        const QRect picture(about.ImageAbout->mapTo(&about, QPoint()), about.ImageAbout->size());
        const QRect version(about.LabelVersion->mapTo(&about, QPoint()),
                            about.LabelVersion->size());
        shown = picture.contains(version) && about.LabelVersion->isVisible();
        test::clickLater(about.BitBtn1);
    });
    w.About1->trigger();
    QVERIFY(script.done());
    QVERIFY(shown);
    QCOMPARE(about.objectName(), QString("Form12"));
    QCOMPARE(about.LabelVersion->text(), QString(Session::kCaption));
    const QImage picture = about.ImageAbout->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(AboutDialog::kPictureWidth, AboutDialog::kPictureHeight));
    // More than a few colours: a picture, not a blank.
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 7) colours.insert(picture.pixel(x, y));
    QVERIFY(colours.size() > 20);
}

void WindowsTest::everyCaptionIsReachableByName() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    const std::vector<QWidget*> windows = w.languageWindows();
    std::vector<std::string> names;
    for (QWidget* window : windows) names.push_back(fromQt(window->objectName()));
    QCOMPARE(names, std::vector<std::string>(kLanguageWindows.begin(), kLanguageWindows.end()));

    QStringList faults;
    for (QWidget* window : windows) {
        const ControlNode tree = controlTree(window);
        std::multiset<std::string> reachable;
        collectNames(tree, reachable);
        for (const std::string& n : reachable)
            if (reachable.count(n) > 1)
                faults << window->objectName() + ": two controls named " + q(n);
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (c->window() != window || captionText(c).isEmpty()) continue;
            // Texts a Qt widget makes for itself (a spin box's line edit).
            if (c->objectName().startsWith("qt_")) continue;
            QWidget* owner = c;
            // A radio group's buttons are reached as its items.
            if (qobject_cast<QRadioButton*>(c) && c->parentWidget() &&
                c->parentWidget()->objectName().startsWith("RadioGroup"))
                owner = c->parentWidget();
            const std::string name = fromQt(owner->objectName());
            if (name.empty() || !reachable.count(name))
                faults << window->objectName() + ": \"" + captionText(c) + "\" (" +
                              c->metaObject()->className() + " " + c->objectName() + ")";
        }
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count() && tabs->window() == window; ++i)
                if (!reachable.count(fromQt(tabs->widget(i)->objectName())))
                    faults << window->objectName() + ": tab \"" + tabs->tabText(i) + "\"";
        if (auto* main = qobject_cast<QMainWindow*>(window))
            for (QAction* a : main->menuBar()->findChildren<QAction*>())
                if (!a->isSeparator() && !a->text().isEmpty() && a->objectName().isEmpty())
                    faults << window->objectName() + ": menu item \"" + a->text() + "\"";
    }
    QVERIFY2(faults.isEmpty(), qPrintable("\n" + faults.join("\n")));
}

void WindowsTest::templateListsEveryWindowAndReadsBackUnchanged() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    w.Button1->click();
    const std::string first = sw.home.read("lang/New_LangFile.lng");
    const IniFile tpl(sw.home.file("lang/New_LangFile.lng"), IniFile::Values::Exact);

    // Sections in the order the windows are applied, each menu after its
    // window, the messages last.
    std::vector<std::string> sections, expected;
    std::istringstream lines(first);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] == '[') sections.push_back(line.substr(1, line.find(']') - 1));
    const std::vector<QWidget*> windows = w.languageWindows();
    for (QWidget* window : windows) {
        expected.push_back(fromQt(window->objectName()));
        if (qobject_cast<QMainWindow*>(window)) expected.push_back(expected.back() + ".MainMenu1");
    }
    expected.push_back("Messages");
    QCOMPARE(sections, expected);

    // Every control that carries a translatable text has its key, in the
    // order the window made them.
    for (const ControlNode& window : controlTrees(windows)) {
        const std::vector<std::string> keys = tpl.keys(window.name);
        QVERIFY(!keys.empty());
        QCOMPARE(keys.front(), window.name + "." + window.name + ".Caption");
        size_t at = 1;
        for (const ControlNode& c : window.children) {
            std::string property;
            switch (c.kind) {
                case ControlKind::Edit:
                    property = "Text";
                    break;
                case ControlKind::Label:
                case ControlKind::Button:
                case ControlKind::BitButton:
                case ControlKind::RadioButton:
                case ControlKind::RadioGroup:
                case ControlKind::CheckBox:
                case ControlKind::GroupBox:
                case ControlKind::TabSheet:
                    property = "Caption";
                    break;
                default:
                    continue;
            }
            const std::string key = window.name + "." + c.name + "." + property;
            while (at < keys.size() && keys[at] != key) ++at;
            QVERIFY2(at < keys.size(), key.c_str());
        }
    }

    // Read back as a language: nothing changes, and the template written
    // again is the same file.
    const std::vector<ControlNode> before = controlTrees(windows);
    w.switchLanguageClick("New_LangFile");
    QVERIFY(controlTrees(windows) == before);
    w.Button1->click();
    QCOMPARE(sw.home.read("lang/New_LangFile.lng"), first);
}

void WindowsTest::shippedLanguageTranslatesEveryWindowFromTheMenu() {
    ProgramFolder home;
    const std::string shipped = std::string(ORVANE_SHIPPED_LANGUAGES) + "/Francais.lng";
    std::filesystem::create_directories(home.file("lang"));
    std::filesystem::copy_file(shipped, home.file("lang/Francais.lng"));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction* francais = w.LanguageMenu->findChild<QAction*>("Francais");
    QVERIFY(francais);
    francais->trigger();
    QVERIFY(francais->isChecked());

    // Every key of every window section reached its control.
    const IniFile lng(shipped, IniFile::Values::Exact);
    std::vector<ControlNode> trees = controlTrees(w.languageWindows());
    for (ControlNode& window : trees) {
        const std::vector<std::string> keys = lng.keys(window.name);
        QVERIFY2(keys.size() >= 2, window.name.c_str());  // the caption and more
        for (const std::string& key : keys) {
            const std::string value = lng.readString(window.name, key, "");
            const std::string rest = key.substr(window.name.size() + 1);
            const std::string control = rest.substr(0, rest.find('.'));
            const std::string property = rest.substr(rest.find('.') + 1);
            const ControlNode* c = findControl(window, control);
            QVERIFY2(c, key.c_str());
            if (property.rfind("Items", 0) == 0)
                QCOMPARE(c->items.at(std::stoul(property.substr(5))), value);
            else if (property == "Hint")
                QCOMPARE(c->hint, value);
            else
                QCOMPARE(c->text, value);
            QVERIFY2(value != "", key.c_str());
        }
    }
    QCOMPARE(w.matrixEditorDialog().ButtonDelete->text(),
             QString::fromUtf8("Supprimer ce caractère (Suppr)"));
    QCOMPARE(w.session().messages().get(19), std::string("Supprimer le caract\xE8re \""));
}

void WindowsTest::jobDialogCarriesAndResetsTheTimeLine() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    Session& s = w.session();
    JobDialog& job = w.jobDialog();
    // A job read up to 00:10:00,000 (a start time of 10 min, one SCR of 1 s).
    s.setStartTime({0, 10, 0, 0});
    s.clock().updateScr(90000, false);
    s.clock().updateScr(90000, false);
    QVERIFY(!s.clock().rebasePending());
    auto fields = [&] {
        return QStringList{job.Word_uHour->text(), job.Word_uMin->text(), job.Word_uSec->text(),
                           job.Word_uMSec->text()};
    };
    ModalScript script;
    QStringList carried, reset;
    bool armed = false;
    script.onDialog(&job, [&] {
        carried = fields();
        armed = s.clock().rebasePending() && s.clock().startTime() == TimeCode{0, 10, 0, 0};
        job.ButtonResetTC->click();
        reset = fields();
        test::clickLater(job.BitBtnCancel);
    });
    w.OpenVob1Click();
    QVERIFY(script.done());
    QCOMPARE(carried, (QStringList{"0", "10", "0", "0"}));
    QVERIFY(armed);
    QCOMPARE(reset, (QStringList{"0", "0", "0", "0"}));
    QCOMPARE(s.clock().startTime(), TimeCode{});
    QVERIFY(s.clock().rebasePending());
    // Opened again before any job: the reset stays.
    script.onDialog(&job, [&] {
        carried = fields();
        test::clickLater(job.BitBtnCancel);
    });
    w.OpenVob1Click();
    QVERIFY(script.done());
    QCOMPARE(carried, (QStringList{"0", "0", "0", "0"}));
    QCOMPARE(s.clock().startTime(), TimeCode{});
}

void WindowsTest::jobDialogRefusesMoreThan1024Files() {
    ShownWindow sw;
    MainWindow& w = sw.w;
    test::TempDir vobs;
    for (int i = 0; i < 1025; ++i)
        std::ofstream(vobs.file(QString("V%1.VOB").arg(i, 4, 10, QChar('0')).toStdString()));
    JobDialog& job = w.jobDialog();
    job.listDirectory(vobs.path() + "/");
    QCOMPARE(job.CheckListBoxVob->count(), 1025);
    ModalScript script;
    QString said;
    script.onDialog(&job, [&] {
        for (int i = 0; i < job.CheckListBoxVob->count(); ++i)
            job.CheckListBoxVob->item(i)->setCheckState(Qt::Checked);
        test::clickLater(job.BitBtnStart);
    });
    script.add(answerBox(&said, QMessageBox::Ok));
    script.onDialog(&job, [&] { job.reject(); });
    w.OpenVob1Click();
    QVERIFY(script.done());
    QCOMPARE(said, QString("At most 1024 VOB files can be read in one job. Files checked : 1025"));
    QVERIFY(w.session().job().paused);
    QVERIFY(w.session().job().files.empty());
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
