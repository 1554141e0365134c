#include "doc/common/text_codec.h"

#include <QFile>
#include <QStringDecoder>

namespace oryx::doc {

QString DisplayText(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(bytes.data(), size);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), size));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), size);
}

std::string TextBytes(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string FileNameBytes(const QString& fileName) {
    const QByteArray bytes = QFile::encodeName(fileName);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace oryx::doc
