#include "screenfit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>

namespace ScreenFit {

QSize roomFor(const QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : window;
    QScreen *screen = owner->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize free = screen->availableGeometry().size();
    // The frame the window manager adds goes outside the window's own size.
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth) * 2;
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QSize(free.width() - border, free.height() - border - title);
}

void fitToScreen(QWidget *window, const QSize &wanted)
{
    window->resize(wanted.boundedTo(roomFor(window)));
}

void keepOnScreen(QWidget *window)
{
    // A window Qt sizes itself at showing is kept within the screen by Qt.
    if (window->testAttribute(Qt::WA_Resized))
        fitToScreen(window, window->size());
}

// ---- Reading order ---------------------------------------------------------------

namespace {

// A control, or a scrolled panel's controls read as one block where the
// panel stands.
struct Placed
{
    QList<QWidget *> widgets;
    QRect rect;
};

bool reachable(const QWidget *w, const QWidget *root)
{
    return !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
           w->isVisibleTo(root);
}

// Bands top to bottom where no control crosses from one to the next, else
// columns left to right, each read the same way.
void readInto(QList<Placed> items, QList<QWidget *> &out)
{
    if (items.size() <= 1) {
        for (const Placed &p : items)
            out << p.widgets;
        return;
    }
    const auto split = [&](auto start, auto end) {
        std::stable_sort(items.begin(), items.end(),
                         [&](const Placed &a, const Placed &b) { return start(a) < start(b); });
        QList<QList<Placed>> groups{{items.first()}};
        int reach = end(items.first());
        for (int i = 1; i < items.size(); ++i) {
            if (start(items[i]) >= reach)
                groups.append(QList<Placed>());
            groups.last().append(items[i]);
            reach = std::max(reach, end(items[i]));
        }
        return groups;
    };
    QList<QList<Placed>> groups = split([](const Placed &p) { return p.rect.top(); },
                                        [](const Placed &p) { return p.rect.bottom() + 1; });
    if (groups.size() == 1)
        groups = split([](const Placed &p) { return p.rect.left(); },
                       [](const Placed &p) { return p.rect.right() + 1; });
    if (groups.size() == 1) {
        std::stable_sort(items.begin(), items.end(), [](const Placed &a, const Placed &b) {
            return std::make_pair(a.rect.top(), a.rect.left()) <
                   std::make_pair(b.rect.top(), b.rect.left());
        });
        for (const Placed &p : items)
            out << p.widgets;
        return;
    }
    for (const QList<Placed> &g : groups)
        readInto(g, out);
}

bool typable(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return !e->isReadOnly();
    if (const auto *e = qobject_cast<const QPlainTextEdit *>(w))
        return !e->isReadOnly();
    if (const auto *e = qobject_cast<const QTextEdit *>(w))
        return !e->isReadOnly();
    if (const auto *e = qobject_cast<const QAbstractSpinBox *>(w))
        return !e->isReadOnly();
    if (const auto *c = qobject_cast<const QComboBox *>(w))
        return c->isEditable();
    return false;
}

class TabOrderer : public QObject
{
public:
    explicit TabOrderer(QWidget *window)
        : QObject(window)
    {
        setObjectName(QLatin1String(kName));
    }
    static constexpr const char *kName = "OrdineTab";
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            // Once the layouts have placed everything.
            auto *window = static_cast<QWidget *>(watched);
            QMetaObject::invokeMethod(
                this, [window] { orderTabs(window); }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

QList<QWidget *> readingOrder(QWidget *root)
{
    QList<Placed> items;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        const QRect where(w->mapTo(root, QPoint(0, 0)), w->size());
        // A control inside another (a spin box's edit) goes with it, one in
        // a scrolled panel with its panel.
        bool inner = false;
        for (QWidget *p = w->parentWidget(); p && p != root && !inner; p = p->parentWidget())
            inner = reachable(p, root) || qobject_cast<QScrollArea *>(p);
        if (inner)
            continue;
        auto *scroll = qobject_cast<QScrollArea *>(w);
        if (scroll && scroll->widget() && w->isVisibleTo(root))
            items.append({readingOrder(scroll->widget()), where});
        else if (reachable(w, root))
            items.append({{w}, where});
    }
    QList<QWidget *> out;
    readInto(items, out);
    return out;
}

void orderTabs(QWidget *window)
{
    const QList<QWidget *> order = readingOrder(window);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void orderTabsOnShow(QWidget *window)
{
    if (window->findChild<QObject *>(QLatin1String(TabOrderer::kName), Qt::FindDirectChildrenOnly))
        return;
    window->installEventFilter(new TabOrderer(window));
}

QWidget *firstTypable(QWidget *root)
{
    for (QWidget *w : readingOrder(root)) {
        if (w->isEnabled() && typable(w))
            return w;
    }
    return nullptr;
}

} // namespace ScreenFit

TScrollPanel::TScrollPanel(QWidget *panel, QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The panel's controls take the focus, never the area around them.
    setFocusPolicy(Qt::NoFocus);
    setWidget(panel);
    setObjectName(panel->objectName() + QStringLiteral("Scorrevole"));
    // A control reached by Tab or a label button comes into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && widget() && widget()->isAncestorOf(now))
            ensureWidgetVisible(now);
    });
}

QSize TScrollPanel::sizeHint() const
{
    const int f = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(f, f) : QScrollArea::sizeHint();
}
