#include "app/caboutdlg.h"

#include "app/apptexts.h"
#include "app/toolbaricons.h"
#include "app/uitext.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orvo::app {

namespace {

constexpr int kIconSize = 48;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(uiText(texts::kAboutCaption));

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* lines = new QVBoxLayout;
    for (const char* line : {texts::kAboutProduct, texts::kAboutLanguage, texts::kAboutCredits}) {
        auto* label = new QLabel(uiText(line), this);
        lines->addWidget(label);
    }

    auto* content = new QHBoxLayout;
    content->addWidget(icon);
    content->addLayout(lines, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CAboutDlg::~CAboutDlg() = default;

} // namespace orvo::app
