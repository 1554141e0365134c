#include "shell/images.h"

#include <QString>

// The images are compiled into this library; a static library's resources
// are registered by hand, once, before the first image is asked for.
static void RegisterImages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(oryx);
        return true;
    }();
    (void)registered;
}

namespace oryx::shell {

QIcon ProgramIcon() {
    RegisterImages();
    return QIcon(QStringLiteral(":/icons/oryx.svg"));
}

QIcon ToolbarImage(const char* name) {
    RegisterImages();
    const QString base = QStringLiteral(":/icons/toolbar/") + QLatin1String(name);
    QIcon icon;
    icon.addFile(base + QStringLiteral(".svg"), QSize(), QIcon::Normal);
    icon.addFile(base + QStringLiteral("-disabled.svg"), QSize(), QIcon::Disabled);
    return icon;
}

}  // namespace oryx::shell
