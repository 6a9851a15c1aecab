#include "app/text_bytes.h"

namespace quorvel::app {

namespace {

QByteArrayView viewOf(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString textFromBytes(std::string_view bytes) {
    if (isValidUtf8(bytes)) return QString::fromUtf8(viewOf(bytes));
    return QString::fromLatin1(viewOf(bytes));
}

std::string bytesFromText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

std::string bytesFromText(const QString& text, std::string_view original) {
    if (textFromBytes(original) == text) return std::string(original);
    return bytesFromText(text);
}

}  // namespace quorvel::app
