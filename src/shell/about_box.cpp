#include "shell/about_box.h"
#include "shell/images.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace oryx::shell {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About...");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(281, 246);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* programIcon = new QLabel(panel);
    programIcon->setObjectName("ProgramIcon");
    programIcon->setPixmap(ProgramIcon().pixmap(32, 32));
    programIcon->setFixedSize(32, 32);

    auto* productName = new QLabel("ORYX\nProvisioning file viewer", panel);
    productName->setObjectName("ProductName");
    productName->setWordWrap(true);

    // Deliberately the original program's line, typo and all, not the package
    // version that `oryx --version` prints (the top CMakeLists.txt).
    auto* version = new QLabel("Verson 1.4 (BETA)", panel);
    version->setObjectName("Version");
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto* comments = new QLabel(
        "Browse the components of a Halyard switch's provisioning file, save its tree text and show its "
        "reports.\nNothing is ever written back to a provisioning file.",
        panel);
    comments->setObjectName("Comments");
    comments->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(programIcon, 0, Qt::AlignTop);
    top->addWidget(productName, 1);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addLayout(top);
    panelLayout->addWidget(version);
    panelLayout->addWidget(comments, 1, Qt::AlignTop);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(ok);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window.
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace oryx::shell
