#include "rapporthtml.h"

#include <QSaveFile>
#include <QTemporaryFile>

namespace {

QByteArray echapper(const QString& texte)
{
    return texte.toHtmlEscaped().toUtf8();
}

// A record's fields, those that differ from the other side's record marked.
QByteArray champsHtml(const QStringList& champs, const QStringList& autres)
{
    QByteArray html;
    for (qsizetype i = 0; i < champs.size(); ++i) {
        if (i > 0)
            html += "<span class=\"s\">|</span>";
        // A record only one side has is shown plain: the "(absent)" beside it says enough.
        const bool change = !autres.isEmpty() && (i >= autres.size() || autres.at(i) != champs.at(i));
        html += change ? "<mark>" + echapper(champs.at(i)) + "</mark>" : echapper(champs.at(i));
    }
    return html;
}

QByteArray celluleHtml(const LigneDifference& ligne, bool cote)
{
    const QStringList& champs = cote ? ligne.champsB : ligne.champsA;
    const QStringList& autres = cote ? ligne.champsA : ligne.champsB;
    const QString& texte = cote ? ligne.texteB : ligne.texteA;
    if (texte == TexteAbsent)
        return "<td class=\"absent\">" + echapper(TexteAbsent) + "</td>";
    if (ligne.enregistrement)
        return (autres.isEmpty() ? "<td class=\"seul\">" : "<td>") + champsHtml(champs, autres) + "</td>";
    return "<td><mark>" + echapper(texte) + "</mark></td>";
}

// Hides the rows of other members, then the titles and sections left without a row. Written without "<"
// or "&", so the page stays well-formed XML too.
constexpr char script[] = R"(
document.getElementById('filtre').addEventListener('change', function (e) {
  var membre = e.target.value;
  document.querySelectorAll('section.acte').forEach(function (section) {
    var visibles = 0;
    section.querySelectorAll('tr[data-membre]').forEach(function (ligne) {
      var montre = !membre || ligne.getAttribute('data-membre') === membre;
      ligne.hidden = !montre;
      if (montre) visibles++;
    });
    section.querySelectorAll('tr.commande').forEach(function (titre) {
      var suivante = titre.nextElementSibling, garde = false;
      while (suivante) {
        if (suivante.classList.contains('commande')) break;
        garde = garde || !suivante.hidden;
        suivante = suivante.nextElementSibling;
      }
      titre.hidden = !garde;
    });
    section.hidden = visibles === 0;
  });
});
)";

constexpr char style[] = R"(
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; margin-bottom: 1em; }
th, td { border: 1px solid #ccc; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
th { background: #eee; }
td { font-family: monospace; white-space: pre-wrap; }
tr.commande td { background: #f4f4f4; font-family: sans-serif; font-weight: bold; }
mark { background: #ffd84d; }
td.absent { color: #999; font-style: italic; }
td.seul { background: #fff3c4; }
.s { color: #aaa; }
section.acte { margin-bottom: 1.5em; }
)";

} // namespace

QString uniteBlocs(const ResumeComparaison& resume)
{
    return resume.appels ? QStringLiteral("appel(s)") : QStringLiteral("commande(s)");
}

QString bilanComparaison(const ResumeComparaison& resume)
{
    QString bilan = QStringLiteral("%1 différence(s) dans %2 %3 sur %4")
                        .arg(resume.differences)
                        .arg(resume.commandesDifferentes)
                        .arg(uniteBlocs(resume))
                        .arg(resume.commandes);
    if (resume.actes > 0)
        bilan += QStringLiteral(", %1 acte(s) sur %2").arg(resume.actesDifferents).arg(resume.actes);
    return bilan;
}

RapportHtml::RapportHtml(QString chemin)
    : m_chemin(std::move(chemin))
{}

RapportHtml::~RapportHtml() = default;

bool RapportHtml::commencer(QString& erreur)
{
    m_page = std::make_unique<QSaveFile>(m_chemin);
    if (!m_page->open(QIODevice::WriteOnly)) {
        erreur = QStringLiteral("%1 : %2").arg(m_chemin, m_page->errorString());
        return false;
    }
    m_sections = std::make_unique<QTemporaryFile>();
    if (!m_sections->open()) {
        erreur = QStringLiteral("%1 : %2").arg(m_chemin, m_sections->errorString());
        return false;
    }
    return true;
}

void RapportHtml::ajouterCommande(const QString& section, const QString& titre,
                                  const QList<LigneDifference>& lignes)
{
    if (!m_sectionOuverte || section != m_sectionCourante) {
        fermerSection();
        m_sectionCourante = section;
        m_sectionOuverte = true;
        m_sections->write("<section class=\"acte\">\n<h2>" + echapper(section) +
                          "</h2>\n<table>\n<thead><tr><th>Membre</th><th>A</th><th>B</th></tr></thead>\n"
                          "<tbody>\n");
    }
    m_sections->write("<tr class=\"commande\"><td colspan=\"3\">" + echapper(titre) + "</td></tr>\n");
    for (const LigneDifference& ligne : lignes)
        m_sections->write("<tr data-membre=\"" + echapper(ligne.membre) + "\"><td>" +
                          echapper(ligne.libelle) + "</td>" + celluleHtml(ligne, false) +
                          celluleHtml(ligne, true) + "</tr>\n");
}

void RapportHtml::fermerSection()
{
    if (m_sectionOuverte)
        m_sections->write("</tbody>\n</table>\n</section>\n");
    m_sectionOuverte = false;
}

bool RapportHtml::terminer(const ResumeComparaison& resume, QString& erreur)
{
    fermerSection();
    QSaveFile& page = *m_page;
    const QString titre = QStringLiteral("Comparaison de %1 et %2").arg(resume.nomA, resume.nomB);
    page.write("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" +
               echapper(titre) + "</title>\n<style>" + QByteArray(style) + "</style>\n</head>\n<body>\n<h1>" +
               echapper(titre) + "</h1>\n");

    page.write("<p>" + echapper(bilanComparaison(resume) + QLatin1Char('.')) + "</p>\n");
    if (!resume.ignores.isEmpty())
        page.write("<p>Membres ignorés : " + echapper(resume.ignores.join(QStringLiteral(", "))) + "</p>\n");

    page.write(QByteArray("<table class=\"resume\">\n<thead><tr><th>Membre</th><th>") +
               (resume.appels ? "Appels" : "Commandes") + "</th>");
    if (resume.actes > 0)
        page.write("<th>Actes</th>");
    page.write("</tr></thead>\n<tbody>\n");
    for (const DifferencesMembre& membre : resume.parMembre) {
        page.write("<tr><td>" + echapper(membre.membre) + "</td><td>" + QByteArray::number(membre.commandes) +
                   "</td>");
        if (resume.actes > 0)
            page.write("<td>" + QByteArray::number(membre.actes) + "</td>");
        page.write("</tr>\n");
    }
    page.write("</tbody>\n</table>\n");

    page.write("<p><label for=\"filtre\">Membre : </label><select id=\"filtre\">"
               "<option value=\"\">tous</option>");
    for (const DifferencesMembre& membre : resume.parMembre)
        page.write("<option>" + echapper(membre.membre) + "</option>");
    page.write("</select></p>\n");

    m_sections->seek(0);
    while (!m_sections->atEnd())
        page.write(m_sections->read(1 << 16));
    page.write("<script>" + QByteArray(script) + "</script>\n</body>\n</html>\n");
    if (!page.commit()) {
        erreur = QStringLiteral("%1 : %2").arg(m_chemin, page.errorString());
        return false;
    }
    return true;
}
