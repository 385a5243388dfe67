#pragma once
// Markup of the article bodies. Every page of the edition is built from these pieces, so
// the templates' stylesheet (kompendor.css) styles all of them alike.

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace edition {

// A section heading that starts with the named anchor the navigation tree and the
// article window's section synchronisation point at.
QString SectionHeading(const QString& anchor, const QString& title, int level = 2);

// A cross reference to another article by its link identifier (target STEXT).
QString TextLink(const QString& linkId, const QString& text);

// A link to a picture record: by its number (target GRAPHIC or TABLE) or by its file name
// (target SGRAPHIC or STABLE).
QString PictureLink(const QString& target, const QString& reference, const QString& text);

// A table of facts: label and value (value as HTML), two columns.
QString FactTable(const std::vector<std::pair<QString, QString>>& rows,
                  const QString& caption = QString());

// A table with a head row; cells as HTML. numericColumns are right-aligned.
QString DataTable(const QStringList& head, const std::vector<QStringList>& rows,
                  const std::vector<int>& numericColumns = {}, const QString& cssClass = "data");

// A paragraph of text (HTML).
QString Paragraph(const QString& html, const QString& cssClass = QString());

// A note in small print below a table or at a page's end.
QString Note(const QString& html);

// "3." for ranks and numbered sections.
QString Ordinal(int n);

// The link identifiers of the article kinds, fixed width so that none lies inside
// another (the article window finds them with LIKE ';*id*;').
QString LandLinkId(int landId);
QString FieldLinkId(int valId);
QString ArticleLinkId(int articleId);

}  // namespace edition
