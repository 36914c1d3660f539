#include "platform/win/qt/text.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>

#include <optional>

#include "platform/win/ansi.h"

namespace zandrel::win::qt {

QString FromAnsi(std::string_view ansi) {
  const std::string utf8 = AnsiToUtf8(ansi);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToAnsi(const QString& text) {
  std::string ansi;
  for (const char32_t c : text.toUcs4()) {
    const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
    const std::optional<std::string> one = Utf8ToAnsi(std::string_view(utf8.constData(), utf8.size()));
    ansi += one ? *one : std::string("?");
  }
  return ansi;
}

QString FromMessage(std::string_view text) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return utf8.hasError() ? FromAnsi(text) : decoded;
}

}  // namespace zandrel::win::qt
