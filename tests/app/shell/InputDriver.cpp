// A scripted user inside the real program, loaded as a Qt input plugin by
// QT_QPA_GENERIC_PLUGINS=kesdriver:ACTION. Once the main window is active it triggers the
// menu item or clicks the button named ACTION, or else releases the keys ACTION names. It
// prints "shown: " and the text of each message box, or the title of any other dialog.
#include <cstdio>
#include <utility>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>
#include <QWindow>

namespace kestrova::test {

class InputDriver : public QObject {
  public:
    explicit InputDriver(QString action) : action_(std::move(action)) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(window)) {
            const auto* box = qobject_cast<QMessageBox*>(window);
            std::printf("shown: %s\n", qPrintable(box ? box->text() : window->windowTitle()));
            std::fflush(stdout);
        }
        if (event->type() == QEvent::WindowActivate && window &&
            window->objectName() == QStringLiteral("FMain") && !std::exchange(acted_, true)) {
            // After the window's own activation step, not inside it.
            QMetaObject::invokeMethod(
                this, [this, window] { Act(*window); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    void Act(QWidget& window) const {
        if (auto* item = window.findChild<QAction*>(action_)) return item->trigger();
        if (auto* button = window.findChild<QAbstractButton*>(action_)) return button->click();
        const QKeyCombination keys = QKeySequence(action_)[0];
        QKeyEvent release(QEvent::KeyRelease, keys.key(), keys.keyboardModifiers());
        QCoreApplication::sendEvent(window.windowHandle(), &release);
    }

    QString action_;
    bool acted_ = false;
};

class InputDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "InputDriver.json")

  public:
    // The application deletes what its input plugins make.
    QObject* create(const QString&, const QString& action) override {
        return new InputDriver(action);
    }
};

}  // namespace kestrova::test

#include "InputDriver.moc"
