#include "doc/refs/referenced_by_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include "doc/refs/referenced_by_model.h"

namespace oryx::doc {

ReferencedByPanel::ReferencedByPanel(QWidget* parent)
    : QWidget(parent),
      model_(new ReferencedByModel(this)),
      header_(new QLabel(this)),
      below_(new QCheckBox(QStringLiteral("Include references below"), this)),
      list_(new QTreeView(this)) {
    setObjectName(QStringLiteral("ReferencedBy"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* headerRow = new QHBoxLayout;
    headerRow->setContentsMargins(4, 2, 4, 2);
    headerRow->addWidget(header_);
    headerRow->addStretch(1);
    headerRow->addWidget(below_);
    layout->addLayout(headerRow);
    layout->addWidget(list_, 1);

    list_->setObjectName(QStringLiteral("ReferencedByList"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setStretchLastSection(true);
    list_->header()->resizeSection(0, 160);

    const auto open = [this](const QModelIndex& index) {
        if (const refs::Reference* r = model_->At(index.row())) emit OpenRequested(*r);
    };
    connect(list_, &QAbstractItemView::activated, this, open);
    connect(below_, &QCheckBox::toggled, this, &ReferencedByPanel::IncludeBelowChanged);
    Refresh();
}

void ReferencedByPanel::Refresh() {
    const int count = model_->rowCount();
    header_->setText(QStringLiteral("Referenced by (%1)").arg(count));
    list_->setVisible(count > 0);
    setSizePolicy(QSizePolicy::Preferred, count > 0 ? QSizePolicy::Preferred : QSizePolicy::Maximum);
}

}  // namespace oryx::doc
