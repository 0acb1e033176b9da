#include "BlastLookup.h"

#include "document/Settings.h"
#include "gui/Shell.h"

#include <QUrlQuery>

namespace zar {

const char* const kBlastQuery =
    "&PROGRAM=blastp&DATALIB=nr&EXPECT=1000&ALIGNMENTS=30&DESCRIPTIONS=30&MATRIX=BLOSUM62&OVERVIEW="
    "isset&NCBI_GI=is_set"
    "&FILTER=none";

QUrl MakeBlastUrl(const QString& base, const QString& peptide) {
    QUrl url(base.trimmed(), QUrl::TolerantMode);
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("SEQUENCE"),
                       QString::fromUtf8(QUrl::toPercentEncoding(peptide)));
    const QUrlQuery fixed(QString::fromLatin1(kBlastQuery + 1));
    for (const auto& [key, value] : fixed.queryItems()) query.addQueryItem(key, value);
    url.setQuery(query);
    return url;
}

bool BlastPeptide(const QString& peptide) {
    if (peptide.isEmpty()) return false;
    return OpenWebUrlWithShell(MakeBlastUrl(GetNCBIBlastURL(), peptide));
}

QUrl MakeSwissProtUrl(const QString& base, SwissProtSearch search, const QString& reference) {
    const char* page = search == SwissProtSearch::Accession     ? "/sprot-search-ac"
                       : search == SwissProtSearch::Description ? "/sprot-search-de"
                                                                : "/sprot-search-ful";
    QUrl url(base.trimmed(), QUrl::TolerantMode);
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/'))) path.chop(1);
    url.setPath(path + QLatin1String(page));
    url.setQuery(QString::fromLatin1(QUrl::toPercentEncoding(reference)), QUrl::StrictMode);
    return url;
}

bool SwissProtReference(SwissProtSearch search, const QString& reference) {
    if (reference.isEmpty()) return false;
    return OpenWebUrlWithShell(MakeSwissProtUrl(GetSwissProtURL(), search, reference));
}

}  // namespace zar
