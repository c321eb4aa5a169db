#include "statusbutton.h"
#include "tag.h"

#include <QCoreApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QColor centreOf(const QAbstractButton &b)
{
    const QImage glyph = b.icon().pixmap(16, 16).toImage();
    return glyph.isNull() ? QColor() : glyph.pixelColor(8, 8);
}

} // namespace

TEST(StatusButton, TagAndGlyphGoTogetherWithOrWithoutPictures)
{
    QPushButton ButtonAggiorna;
    setStatusGlyph(&ButtonAggiorna, StatusUnsaved, "/nessuna/cartella/Rosso.bmp");
    EXPECT_EQ(Tag(&ButtonAggiorna), 1);
    EXPECT_GT(centreOf(ButtonAggiorna).red(), 150);
    EXPECT_LT(centreOf(ButtonAggiorna).green(), 60);

    setStatusGlyph(&ButtonAggiorna, StatusSaved, QString());
    EXPECT_EQ(Tag(&ButtonAggiorna), 0);
    EXPECT_GT(centreOf(ButtonAggiorna).green(), 100);

    // The picture beside the program, by its Windows name.
    const QString folder = QCoreApplication::applicationDirPath() + "/";
    setStatusGlyph(&ButtonAggiorna, StatusUnsaved, folder + "GRAFICA\\ROSSO.BMP");
    const QImage picture(folder + "Grafica/Rosso.bmp");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(centreOf(ButtonAggiorna), picture.pixelColor(8, 8));
}
