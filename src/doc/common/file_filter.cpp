#include "doc/common/file_filter.h"

#include <QStringList>

#include "doc/common/text_codec.h"

namespace oryx::doc {

QString QtFileFilter(std::string_view pipeFilter) {
    const QStringList parts = DisplayText(pipeFilter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1String(" ("));
        if (paren >= 0) description.truncate(paren);
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        entries << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QLatin1String(";;"));
}

}  // namespace oryx::doc
