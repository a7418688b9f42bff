#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "dialogs/AboutBox.h"

namespace {

// True when the image has visible pixels: an icon that failed to render is
// empty or fully transparent.
bool HasInk(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                return true;
            }
        }
    }
    return false;
}

TEST(ResourcesTest, EveryImageRendersAtSixteenPixelsAndOnHighDpi) {
    // The SVG image plugin must be there at run time, or every icon is blank.
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg"));
    const char* names[] = {"new",         "open",     "save",      "copy",
                           "undo",        "redo",     "find",      "find-next",
                           "find-prev",   "add-memo", "edit-memo", "delete-memo",
                           "open-string", "entry",    "entry-hit", "brolteck-memo"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        QIcon icon(QString(":/icons/%1.svg").arg(name));
        ASSERT_FALSE(icon.isNull());
        for (qreal ratio : {1.0, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
            EXPECT_EQ(pixmap.size(), QSize(16, 16) * ratio);
            EXPECT_TRUE(HasInk(pixmap.toImage()));
        }
    }
    // Ordinary and hit entries must look different.
    EXPECT_NE(QIcon(":/icons/entry.svg").pixmap(16).toImage(),
              QIcon(":/icons/entry-hit.svg").pixmap(16).toImage());
}

TEST(AboutBoxTest, ShowsNameVersionAndIcon) {
    TAboutBox box(nullptr);
    box.show();
    EXPECT_EQ(box.windowTitle(), "バージョン情報");
    EXPECT_EQ(box.findChild<QLabel*>("ProductName")->text(), "Brolteck/Memo");
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "Version 2.1 Release 1");
    EXPECT_TRUE(HasInk(box.findChild<QLabel*>("ProgramIcon")->pixmap().toImage()));
    box.accept();
    EXPECT_FALSE(box.isVisible());
}

}  // namespace
