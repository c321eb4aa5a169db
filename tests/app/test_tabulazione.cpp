#include "archivefixture.h"
#include "finestre.h"

#include <QApplication>
#include <QDialog>
#include <QScrollArea>

// Tab goes through every window as it reads: within a band left to right,
// then down; back up only into a column further right.
namespace {

bool raggiungibile(const QWidget *w, const QWidget *window)
{
    return !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
           w->isVisibleTo(window);
}

QRect posto(const QWidget *w, const QWidget *window)
{
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// Where each of two controls stands: inside the same scrolled panel as the
// panel lays them out, otherwise where the window shows it (a control in a
// panel where its panel stands).
std::pair<QRect, QRect> posti(const QWidget *a, const QWidget *b, const QWidget *window)
{
    const auto area = [window](const QWidget *w) -> const QScrollArea * {
        for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (auto *s = qobject_cast<const QScrollArea *>(p))
                return s;
        return nullptr;
    };
    const QScrollArea *sa = area(a), *sb = area(b);
    if (sa && sa == sb)
        return {posto(a, sa->widget()), posto(b, sa->widget())};
    return {sa ? posto(sa, window) : posto(a, window), sb ? posto(sb, window) : posto(b, window)};
}

// The chain from the window round to it again, disabled controls included
// (a record editor's fields are disabled while it browses).
QList<QWidget *> catena(QWidget *window)
{
    QList<QWidget *> out;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (raggiungibile(w, window) && !out.contains(w))
            out << w;
    }
    return out;
}

} // namespace

using Tabulazione = ArchiveTest;

TEST_F(Tabulazione, OgniCatenaSegueLoSchermo)
{
    rec.allowAny();
    for (const TFinestraInProva &f : finestre()) {
        nuovoSnapshot();
        std::unique_ptr<QWidget> w = f.crea(tabVar);
        auto *dialog = qobject_cast<QDialog *>(w.get());
        ASSERT_NE(dialog, nullptr) << f.nome;
        QStringList salti;
        int controlli = 0, inCatena = 0;
        mostra(*dialog, [&] {
            dialog->show();
            QApplication::processEvents();
            QApplication::processEvents();
            const QList<QWidget *> ordine = catena(dialog);
            inCatena = ordine.size();
            for (QWidget *c : dialog->findChildren<QWidget *>())
                controlli += raggiungibile(c, dialog) ? 1 : 0;
            // A cycle: once, from the last control, it goes back to the first.
            for (int i = 0; i < ordine.size(); ++i) {
                QWidget *da = ordine[(i + ordine.size() - 1) % ordine.size()];
                const auto [a, b] = posti(da, ordine[i], dialog);
                const bool suTorna = b.top() < a.top() && b.left() <= a.right();
                const bool indietro = b.left() < a.left() && b.top() <= a.bottom();
                if (suTorna || indietro)
                    salti << da->objectName() + " -> " + ordine[i]->objectName();
            }
            dialog->done(0);
        });
        EXPECT_LE(salti.size(), 1) << f.nome << ": " << salti.join(", ").toStdString();
        EXPECT_EQ(inCatena, controlli) << f.nome;
    }
}
