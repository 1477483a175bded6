#include "widgets/ProgramIcon.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

bool hasVisiblePixels(const QIcon& icon)
{
    const QImage image = icon.pixmap(32, 32).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

// The icon is built into the program and drawn (the SVG plugin is there), and every window,
// dialogs included, shows it without setting it one by one.
TEST(ProgramIcon, EveryWindowShowsTheProgramsIcon)
{
    ASSERT_TRUE(hasVisiblePixels(widgets::programIcon()));
    widgets::installProgramIcon(*qApp);
    QWidget window;
    QDialog dialog(&window);
    EXPECT_TRUE(hasVisiblePixels(window.windowIcon()));
    EXPECT_TRUE(hasVisiblePixels(dialog.windowIcon()));
    QApplication::setWindowIcon(QIcon());
}
