#include "archivefixture.h"
#include "finestre.h"

#include <QDialog>
#include <QScrollArea>

// Tab goes through every window as it reads: never back up unless into a
// column further right, never back left unless further down; once round the
// cycle it returns from the last control to the first. A scrolled panel's
// controls are placed within their panel, the panel where it stands.
namespace {

bool raggiungibile(const QWidget *w, const QWidget *window)
{
    return !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
           w->isVisibleTo(window);
}

const QWidget *pannello(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto *s = qobject_cast<const QScrollArea *>(p))
            return s;
    return nullptr;
}

QRect posto(const QWidget *w, const QWidget *rispetto)
{
    return QRect(w->mapTo(rispetto, QPoint()), w->size());
}

} // namespace

using Tabulazione = ArchiveTest;

TEST_F(Tabulazione, OgniCatenaSegueLoSchermo)
{
    rec.allowAny();
    perOgniFinestra(tabVar, [](const char *nome, QDialog &d) {
        // Disabled controls count: a browsing editor's fields are disabled.
        QList<QWidget *> catena;
        for (QWidget *w = d.nextInFocusChain(); w != &d; w = w->nextInFocusChain())
            if (raggiungibile(w, &d) && !catena.contains(w))
                catena << w;
        int controlli = 0;
        for (QWidget *c : d.findChildren<QWidget *>())
            controlli += raggiungibile(c, &d) ? 1 : 0;
        EXPECT_EQ(catena.size(), controlli) << nome;
        QStringList salti;
        for (int i = 0; i < catena.size(); ++i) {
            QWidget *da = catena[(i + catena.size() - 1) % catena.size()], *a = catena[i];
            const QWidget *pa = pannello(da, &d), *pb = pannello(a, &d);
            const QRect ra = pa && pa == pb
                                 ? posto(da, static_cast<const QScrollArea *>(pa)->widget())
                                 : posto(pa ? pa : da, &d);
            const QRect rb = pa && pa == pb
                                 ? posto(a, static_cast<const QScrollArea *>(pa)->widget())
                                 : posto(pb ? pb : a, &d);
            if ((rb.top() < ra.top() && rb.left() <= ra.right()) ||
                (rb.left() < ra.left() && rb.top() <= ra.bottom()))
                salti << da->objectName() + " -> " + a->objectName();
        }
        EXPECT_LE(salti.size(), 1) << nome << ": " << salti.join(", ").toStdString();
    });
}
