#include "gui/language_binding.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "gui/numeric_edit.h"
#include "gui/qt_text.h"

namespace orvane::gui {

namespace {

constexpr const char* kMenuName = "MainMenu1";

// The tab widget whose page `w` is, if it is one.
QTabWidget* tabWidgetOf(const QWidget* w) {
    const QWidget* stack = w->parentWidget();
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

bool isTabSheet(const QWidget* w) {
    QTabWidget* tabs = tabWidgetOf(w);
    return tabs && tabs->indexOf(const_cast<QWidget*>(w)) >= 0;
}

bool isRadioGroup(const QWidget* w) {
    return qobject_cast<const QGroupBox*>(w) && w->objectName().startsWith("RadioGroup");
}

// Kinds are matched on the exact class, as language files expect: a
// numeric edit is not an edit box, a spin box's inner line edit is never
// reached.
ControlKind kindOf(const QWidget* w) {
    const QString cls = QString::fromLatin1(w->metaObject()->className());
    if (cls == "QLabel") return ControlKind::Label;
    if (cls == "QLineEdit") return ControlKind::Edit;
    if (cls == "QPushButton") return ControlKind::Button;
    if (cls == "QToolButton") return ControlKind::ToolButton;
    if (cls == "QRadioButton") return ControlKind::RadioButton;
    if (cls == "QCheckBox") return ControlKind::CheckBox;
    if (cls == "QGroupBox")
        return isRadioGroup(w) ? ControlKind::RadioGroup : ControlKind::GroupBox;
    if (cls == "QSpinBox") return ControlKind::SpinEdit;
    if (cls == "QComboBox") return ControlKind::ComboBox;
    if (cls == "QListWidget") return ControlKind::ListBox;
    if (cls == "QFrame") return ControlKind::Panel;
    if (cls == "QWidget" && isTabSheet(w)) return ControlKind::TabSheet;
    if (qobject_cast<const NumericEdit*>(w)) return ControlKind::NumericEdit;
    return ControlKind::Other;
}

// Widgets whose children are parts of one control (a spin box's line
// edit, an up-down's arrows) are not walked into.
bool isContainer(const QWidget* w) {
    const QString cls = QString::fromLatin1(w->metaObject()->className());
    return cls == "QWidget" || cls == "QFrame" || cls == "QGroupBox" || cls == "QScrollArea" ||
           cls == "QTabWidget" || cls == "QStackedWidget" || qobject_cast<const QMainWindow*>(w);
}

bool addressable(const QObject* o) {
    return !o->objectName().isEmpty() && !o->objectName().startsWith("qt_");
}

QList<QRadioButton*> radioItems(QWidget* group) {
    return group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

// Calls f(widget) for the window's own widgets in creation order, depth
// first; other windows (dialogs, menus' pop-ups) are left out.
template <class F>
void forEachWidget(QWidget* parent, F&& f) {
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || qobject_cast<QMenuBar*>(w)) continue;
        f(w);
        if (isContainer(w)) forEachWidget(w, f);
    }
}

QString captionOf(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (isTabSheet(w)) {
        QTabWidget* tabs = tabWidgetOf(w);
        return tabs->tabText(tabs->indexOf(const_cast<QWidget*>(w)));
    }
    return {};
}

void setCaption(QWidget* w, const QString& text) {
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else if (isTabSheet(w))
        tabWidgetOf(w)->setTabText(tabWidgetOf(w)->indexOf(w), text);
}

ControlNode menuItemNode(QAction* a) {
    ControlNode n;
    n.kind = ControlKind::MenuItem;
    n.name = a->objectName().toStdString();
    n.text = fromQt(a->text());
    n.checked = a->isChecked();
    if (QMenu* sub = a->menu())
        for (QAction* child : sub->actions())
            if (!child->isSeparator()) n.children.push_back(menuItemNode(child));
    return n;
}

void applyMenuItems(const QList<QAction*>& actions, const ControlNode& menu) {
    for (QAction* a : actions) {
        if (a->isSeparator() || a->objectName().isEmpty()) continue;
        const std::string name = a->objectName().toStdString();
        for (const ControlNode& item : menu.children) {
            if (item.name != name) continue;
            if (item.text != fromQt(a->text())) a->setText(toQt(item.text));
            if (a->isCheckable()) a->setChecked(item.checked);
            if (QMenu* sub = a->menu()) applyMenuItems(sub->actions(), item);
            break;
        }
    }
}

const ControlNode* findChild(const ControlNode& root, const std::string& name) {
    for (const ControlNode& c : root.children) {
        if (c.name == name) return &c;
        if (const ControlNode* found = findChild(c, name)) return found;
    }
    return nullptr;
}

}  // namespace

ControlNode controlTree(QWidget* window) {
    ControlNode tree;
    tree.kind = ControlKind::Window;
    tree.name = window->objectName().toStdString();
    tree.text = fromQt(window->windowTitle());
    // A flat list in creation order: language keys name controls only.
    forEachWidget(window, [&](QWidget* w) {
        if (!addressable(w)) return;
        // The radio group's buttons are its items, not controls of their own.
        if (qobject_cast<QRadioButton*>(w) && w->parentWidget() && isRadioGroup(w->parentWidget()))
            return;
        ControlNode n;
        n.kind = kindOf(w);
        n.name = w->objectName().toStdString();
        n.text = fromQt(captionOf(w));
        n.hint = fromQt(w->toolTip());
        n.showHint = !w->toolTip().isEmpty();
        if (n.kind == ControlKind::RadioGroup)
            for (QRadioButton* r : radioItems(w)) n.items.push_back(fromQt(r->text()));
        tree.children.push_back(std::move(n));
    });
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuBar()) {
        ControlNode menu;
        menu.kind = ControlKind::MainMenu;
        menu.name = kMenuName;
        for (QAction* a : main->menuBar()->actions())
            if (!a->isSeparator()) menu.children.push_back(menuItemNode(a));
        tree.children.push_back(std::move(menu));
    }
    return tree;
}

void applyControlTree(QWidget* window, const ControlNode& tree) {
    if (tree.name.empty() || tree.name != window->objectName().toStdString()) return;
    // Only what the language changed is set: texts that Windows-1252 cannot
    // hold (the pause sign) would not survive the way there and back.
    if (tree.text != fromQt(window->windowTitle())) window->setWindowTitle(toQt(tree.text));
    forEachWidget(window, [&](QWidget* w) {
        if (!addressable(w)) return;
        const ControlNode* n = findChild(tree, w->objectName().toStdString());
        if (!n || n->kind != kindOf(w)) return;
        switch (n->kind) {
            case ControlKind::RadioGroup: {
                const QList<QRadioButton*> items = radioItems(w);
                for (qsizetype i = 0; i < items.size() && static_cast<size_t>(i) < n->items.size();
                     ++i)
                    if (n->items[static_cast<size_t>(i)] != fromQt(items[i]->text()))
                        items[i]->setText(toQt(n->items[static_cast<size_t>(i)]));
                [[fallthrough]];
            }
            case ControlKind::Label:
            case ControlKind::Edit:
            case ControlKind::Button:
            case ControlKind::BitButton:
            case ControlKind::RadioButton:
            case ControlKind::CheckBox:
            case ControlKind::GroupBox:
            case ControlKind::TabSheet:
                if (n->text != fromQt(captionOf(w))) setCaption(w, toQt(n->text));
                [[fallthrough]];
            case ControlKind::ToolButton:
                if (n->hint != fromQt(w->toolTip())) w->setToolTip(toQt(n->hint));
                break;
            default:
                break;
        }
    });
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuBar())
        for (const ControlNode& c : tree.children)
            if (c.kind == ControlKind::MainMenu && c.name == kMenuName)
                applyMenuItems(main->menuBar()->actions(), c);
}

std::vector<ControlNode> controlTrees(const std::vector<QWidget*>& windows) {
    std::vector<ControlNode> trees;
    trees.reserve(windows.size());
    for (QWidget* w : windows) trees.push_back(controlTree(w));
    return trees;
}

void applyControlTrees(const std::vector<QWidget*>& windows,
                       const std::vector<ControlNode>& trees) {
    for (QWidget* w : windows)
        for (const ControlNode& t : trees)
            if (!t.name.empty() && t.name == w->objectName().toStdString()) applyControlTree(w, t);
}

}  // namespace orvane::gui
