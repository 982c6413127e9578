// kxorders-shot DIR FILE.png [MENU...] [--open CAPTION|ACTION]... [--page TAB]... [--connected]
// [--wait MS]: starts the
// main window on the installation in DIR without touching the network or modems,
// opens the reference or invoice tables or the windows named by --open, turns
// their tab pages captioned TAB to the front, and saves a picture
// of it; each MENU (pmPrice, pmReference, ...) is saved next to it as
// FILE-MENU.png. --connected reports an internet connection (a transfer
// then runs, on the installation's own transfer library and settings);
// --wait lets MS milliseconds of work pass before the picture. For looking at the window where no desktop is at hand:
//   QT_QPA_PLATFORM=offscreen build/app/kxorders-shot demo-data main.png pmPrice --open Наценки
#include "ProgramLook.h"
#include "uMainFrm.h"

#include "config/ProgramFiles.h"
#include "platform/fake/FakePlatform.h"
#include "platform_widgets/ErrorReportingApplication.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

// The window manager draws the caption on a desktop; the picture gets a
// plain caption strip of its own so that the caption can be read too.
QImage withCaption(const QPixmap &window, const QString &caption)
{
    constexpr int kStrip = 24;
    QImage image(window.width(), window.height() + kStrip, QImage::Format_RGB32);
    image.fill(QColor(45, 75, 140));
    QPainter p(&image);
    QFont font = QApplication::font();
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, window.width() - 16, kStrip), Qt::AlignVCenter | Qt::AlignLeft, caption);
    p.drawPixmap(0, kStrip, window);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fputs("usage: kxorders-shot DIR FILE.png [MENU...]\n", stderr);
        return 2;
    }
    platform::ErrorReportingApplication application(argc, argv);
    app::setUpProgram(application);
    config::setProgramFolder(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    const QString out = QString::fromLocal8Bit(argv[2]);

    QStringList menus;
    QStringList tablesToOpen;
    QStringList pages;
    bool connected = false;
    int waitMs = 0;
    for (int i = 3; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--open") && i + 1 < argc)
            tablesToOpen << QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--connected"))
            connected = true;
        else if (arg == QLatin1String("--wait") && i + 1 < argc)
            waitMs = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (arg == QLatin1String("--page") && i + 1 < argc)
            pages << QString::fromLocal8Bit(argv[++i]);
        else
            menus << arg;
    }

    platform::fake::FakePlatform fake;
    fake.connectivity().connected = connected;
    app::TMainFrm mainFrm;
    mainFrm.show();
    // A reference or invoice table by its menu caption, or a window by its action ("Архив", "Полный прайс").
    for (const QString &caption : tablesToOpen)
        for (QAction *item : mainFrm.findChildren<QAction *>())
            if (item->text() == caption || item->objectName() == caption) {
                item->trigger();
                break;
            }
    // A page of the windows opened, by its tab caption ("Соединение").
    for (const QString &page : pages)
        for (QTabWidget *tabs : mainFrm.findChildren<QTabWidget *>())
            for (int t = 0; t < tabs->count(); ++t)
                if (tabs->tabText(t) == page)
                    tabs->setCurrentIndex(t);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    // A transfer runs on: its lines arrive while events are handled.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    mainFrm.ActionList1Update();
    QApplication::processEvents();

    int status = 0;
    if (!withCaption(mainFrm.grab(), mainFrm.windowTitle()).save(out)) {
        std::fprintf(stderr, "kxorders-shot: cannot write %s\n", qPrintable(out));
        status = 1;
    }
    for (const QString &name : menus) {
        auto *menu = mainFrm.findChild<QMenu *>(name);
        if (!menu) {
            std::fprintf(stderr, "kxorders-shot: no menu %s\n", qPrintable(name));
            status = 1;
            continue;
        }
        menu->popup(mainFrm.mapToGlobal(QPoint(10, 60)));
        QApplication::processEvents();
        const QString file =
            QFileInfo(out).path() + u'/' + QFileInfo(out).completeBaseName() + u'-' + name + QStringLiteral(".png");
        menu->grab().save(file);
        menu->hide();
    }
    for (const QString &error : fake.messages().texts())
        std::fprintf(stderr, "message: %s\n", qPrintable(error));
    std::printf("caption: %s\n", qPrintable(mainFrm.windowTitle()));
    std::printf("geometry: %d,%d %dx%d (minimum %dx%d)\n", mainFrm.x(), mainFrm.y(), mainFrm.width(), mainFrm.height(),
                mainFrm.minimumSizeHint().width(), mainFrm.minimumSizeHint().height());
    return status;
}
