#include "layoutcheck.h"

#include <QDir>
#include <QFrame>
#include <QWidget>

namespace {

QString nameOf(const QWidget *w)
{
    const QString name = w->objectName();
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(w->metaObject()->className()),
             name.isEmpty() ? QStringLiteral("?") : name);
}

QString rectText(const QRect &r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QList<const QWidget *> shownChildren(const QWidget *parent)
{
    QList<const QWidget *> out;
    for (const QWidget *c :
         parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (c->isVisible() && !c->isWindow())
            out << c;
    }
    return out;
}

void check(const QWidget *parent, QStringList &faults)
{
    const auto *frame = qobject_cast<const QFrame *>(parent);
    const QRect inside = frame ? frame->contentsRect() : parent->rect();
    const QList<const QWidget *> children = shownChildren(parent);
    for (int i = 0; i < children.size(); ++i) {
        const QWidget *c = children[i];
        if (!inside.contains(c->geometry())) {
            faults << QStringLiteral("%1 %2 leaves %3 %4")
                          .arg(nameOf(c), rectText(c->geometry()), nameOf(parent),
                               rectText(inside));
        }
        const QSize need = c->minimumSizeHint();
        if (need.isValid() && (c->width() < need.width() || c->height() < need.height())) {
            faults << QStringLiteral("%1 is %2x%3, needs %4x%5")
                          .arg(nameOf(c))
                          .arg(c->width())
                          .arg(c->height())
                          .arg(need.width())
                          .arg(need.height());
        }
        for (int j = i + 1; j < children.size(); ++j) {
            if (c->geometry().intersects(children[j]->geometry())) {
                faults << QStringLiteral("%1 %2 overlaps %3 %4")
                              .arg(nameOf(c), rectText(c->geometry()), nameOf(children[j]),
                                   rectText(children[j]->geometry()));
            }
        }
        check(c, faults);
    }
}

} // namespace

QStringList layoutFaults(const QWidget *window)
{
    QStringList faults;
    check(window, faults);
    return faults;
}

QImage windowPicture(QWidget *window, const QString &name)
{
    const QImage picture = window->grab().toImage();
    const QString folder = qEnvironmentVariable("TEST_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return picture;
}
