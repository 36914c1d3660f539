#include "editor/widgets/help_window.h"

#include <QFont>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <string_view>

#include "editor/command_icons.h"
#include "editor/widgets/data_picture.h"
#include "editor/widgets/help_pages.h"

namespace zandrel::editor::widgets {
namespace {

constexpr int kClientWidth = 521, kClientHeight = 480;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPalette Colours(QPalette palette, const QColor& text) {
  for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) palette.setColor(role, Qt::black);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) palette.setColor(role, text);
  return palette;
}

// The page's text with each "{I_...}" replaced by its icon's picture, registered with the
// document; without the picture the mark is dropped.
QTextBrowser* PageText(std::string_view text, const std::filesystem::path& dataRoot, QWidget* parent) {
  auto* browser = new QTextBrowser(parent);
  browser->setObjectName("text");
  browser->setFrameShape(QFrame::NoFrame);
  browser->setPalette(Colours(browser->palette(), Qt::white));
  browser->setOpenLinks(false);
  QString html = Text(text);
  for (const CommandIcon& icon : kCommandIcons) {
    const QString mark = "{" + Text(icon.Name) + "}";
    if (!html.contains(mark)) continue;
    const QImage picture = ReadDataPicture(dataRoot, icon.File);
    QString image;
    if (!picture.isNull()) {
      const QString name = "icon:" + Text(icon.Name);
      browser->document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
      image = "<img src=\"" + name + "\">";
    }
    html.replace(mark, image);
  }
  browser->setHtml(html);
  return browser;
}

QWidget* Page(const HelpPage& page, const std::filesystem::path& dataRoot) {
  auto* widget = new QWidget;
  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* title = new QLabel(Text(page.Title), widget);
  title->setObjectName("title");
  title->setTextFormat(Qt::PlainText);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  title->setFont(bold);
  title->setPalette(Colours(title->palette(), Qt::yellow));
  layout->addWidget(title);
  layout->addWidget(PageText(page.Text, dataRoot, widget), 1);
  return widget;
}

}  // namespace

THelp::THelp(const std::filesystem::path& dataRoot, QWidget* owner)
    : QWidget(owner, Qt::Window), pages_(new QStackedWidget(this)) {
  setWindowTitle("Level Editor - Aide");
  setFixedSize(kClientWidth, kClientHeight);
  setPalette(Colours(palette(), Qt::white));
  setAutoFillBackground(true);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(12);
  auto* column = new QVBoxLayout;
  column->setSpacing(6);
  for (const HelpPage& page : kHelpPages) {
    auto* button = new QPushButton(Text(page.Button), this);
    button->setFixedWidth(140);
    // The button of the page shown stays down.
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setChecked(buttons_.empty());
    const int index = pages_->addWidget(Page(page, dataRoot));
    connect(button, &QPushButton::clicked, pages_, [this, index] { pages_->setCurrentIndex(index); });
    column->addWidget(button);
    buttons_.push_back(button);
  }
  column->addStretch(1);
  layout->addLayout(column);
  layout->addWidget(pages_, 1);
}

void THelp::ShowHelp() {
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    move(screen->availableGeometry().center() - rect().center());
  }
  show();
  raise();
  activateWindow();
}

}  // namespace zandrel::editor::widgets
