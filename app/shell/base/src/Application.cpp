#include "kesapp/Application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QSettings>

#include "kesapp/Artwork.h"
#include "kesapp/Product.h"

namespace kestrova {

void ConfigureApplication() {
    QCoreApplication::setOrganizationName(kProductName);
    QCoreApplication::setApplicationName(kProductName);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication::setWindowIcon(QIcon(art::kLogo));
    QGuiApplication::setDesktopFileName(QStringLiteral(KES_APP_ID));
    // One font everywhere: a theme's smaller fonts for menus, status bar or lists go.
    QApplication::setFont(QApplication::font());
}

}  // namespace kestrova
