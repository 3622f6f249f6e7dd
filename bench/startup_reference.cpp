// The reference of the start-up benchmark: the least a Qt Widgets program
// shows, a main window with a menu bar and an empty central widget. It
// reports the moment its first frame is painted the way the program does.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>

#include <chrono>
#include <cstdio>

namespace {

class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    std::printf("visible %lld\n",
                                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                    std::fflush(stdout);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool painted = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Referenz"));
    for (const char* title : {"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Eintrag"));
    auto* central = new QWidget(&window);
    central->setAutoFillBackground(true);
    window.setCentralWidget(central);
    FirstPaint probe;
    central->installEventFilter(&probe);
    window.resize(784, 733);
    window.show();
    return application.exec();
}
