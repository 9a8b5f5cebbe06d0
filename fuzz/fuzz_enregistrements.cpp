// The library test sequence against a library that answers anything the automation rules allow:
// counts of any sign and size, any lower bound, arrays resized, replaced, nulled, of another record
// type or left locked, texts null or of any UTF-16 content. AddressSanitizer catches a read outside
// the delivered records; LeakSanitizer (per input) and the double-free check catch a text not freed
// exactly once. The boxes must be exactly one per delivered record read, with its texts, and at most
// one warning per step, given exactly when an announced record is missing.
#include "commun/exigence.h"
#include "enregistrements.h"
#include "enregistrements/programmetarvo.h"
#include "sequencetarvo.h"
#include "servicemessages.h"
#include "tarvo.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>

namespace {

FonctionProgrammer programmer = nullptr;
FonctionLivraisons livraisons = nullptr;

struct Boite
{
    int etape;
    QString texte;
    QString titre;
    IconeMessage icone;
};

class ServiceMessagesCompte final : public ServiceMessages
{
public:
    int etape = 0;
    QList<Boite> boites;

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override
    {
        boites.append({etape, texte, titre, icone});
    }
    QString saisirTexte(const QString&, const QString&, const QString&) override
    {
        exiger(false, "la séquence ne demande aucune saisie");
        return {};
    }
};

class Lecteur
{
public:
    Lecteur(const uint8_t* donnees, size_t taille)
        : m_donnees(donnees)
        , m_taille(taille)
    {}
    bool fini() const { return m_position >= m_taille; }
    uint8_t octet() { return m_position < m_taille ? m_donnees[m_position++] : 0; }
    int32_t entier32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | octet();
        return static_cast<int32_t>(v);
    }
    // Mostly small values around 0, where the boundaries are, sometimes any 32-bit value.
    int32_t petitOuQuelconque(int decalage)
    {
        const uint8_t o = octet();
        return o >= 0xF0 ? entier32() : int32_t{o % 0x40} - decalage;
    }

private:
    const uint8_t* m_donnees;
    size_t m_taille;
    size_t m_position = 0;
};

ProgrammeTarvo lireProgramme(Lecteur& lecteur)
{
    ProgrammeTarvo programme;
    for (int etape = 1; etape <= 7; ++etape) {
        EtapeProgrammee& e = programme.etapes[static_cast<std::size_t>(etape)];
        e.compte = lecteur.petitOuQuelconque(8);
        if (etape == 1 || etape == 7)
            continue;
        const uint8_t reglage = lecteur.octet();
        e.mode = static_cast<ModeTableau>(reglage % 5);
        e.champsEnPlus = (reglage & 0x08) ? 1 : -1;
        e.verrous = (reglage >> 4) % 8 == 7 ? 1 + ((reglage >> 7) & 1) : 0;
        e.borne = lecteur.petitOuQuelconque(4);
        // Records are really allocated: a few dozen reach every boundary without eating memory.
        e.livres = lecteur.octet() % 40;
    }
    while (!lecteur.fini()) {
        const uint8_t longueur = lecteur.octet();
        if (longueur == 0xFF) {
            programme.textes.emplace_back();
            continue;
        }
        std::u16string t;
        for (uint8_t i = 0; i < longueur % 24 && !lecteur.fini(); ++i) {
            const uint8_t bas = lecteur.octet();
            t.push_back(static_cast<char16_t>(bas | (lecteur.octet() << 8)));
        }
        programme.textes.emplace_back(std::move(t));
    }
    return programme;
}

// What the sequence must show for one step, from what the library left in the array.
class Attente
{
public:
    Attente(const Livraison& livraison, uint32_t champs)
        : m_livraison(livraison)
        , m_champs(champs)
    {}

    bool tient(qint64 index) const
    {
        const Livraison& l = m_livraison;
        return !l.nul && l.tailleElement == m_champs * sizeof(TexteAuto) && l.nombre > 0 &&
               index >= l.borne && index < qint64{l.borne} + l.nombre;
    }
    QString texte(qint64 index, uint32_t champ) const
    {
        const TexteLivre& t =
            m_livraison.textes[static_cast<std::size_t>((index - m_livraison.borne) * m_champs + champ)];
        return t ? QString::fromUtf16(t->data(), qsizetype(t->size())) : QString();
    }
    // Whether some announced index of [0, lus) is not held.
    // Whether some announced index of [0, lus) is not held: the held ones are one run of indices.
    bool manque(qint64 lus) const { return lus > 0 && !(tient(0) && tient(lus - 1)); }

private:
    const Livraison& m_livraison;
    uint32_t m_champs;
};

void attendre(QList<Boite>& attendues, int etape, const QString& texte, const QString& titre,
              IconeMessage icone)
{
    attendues.append({etape, texte, titre, icone});
}

QList<Boite> boitesAttendues(const ProgrammeTarvo& programme, const Livraisons& l)
{
    const QString titre = titreApplication();
    const QString sep = QStringLiteral(" / ");
    const auto compte = [&](int etape) {
        return programme.etapes[static_cast<std::size_t>(etape)].compte;
    };
    QList<Boite> attendues;
    const auto avertir = [&](int etape, const Attente& a, qint64 lus) {
        if (a.manque(lus))
            attendre(attendues, etape, QString(), titre, IconeMessage::Avertissement);
    };

    const Attente modif(l[2], 3);
    if (compte(2) >= 1) {
        if (modif.tient(0))
            attendre(attendues, 2, modif.texte(0, 0) + u' ' + modif.texte(0, 1), titre, IconeMessage::Aucune);
        avertir(2, modif, 1);
    } else {
        attendre(attendues, 2, QStringLiteral("La liste des modificateurs est vide."), titre,
                 IconeMessage::Aucune);
    }

    const Attente prix(l[3], 2);
    if (compte(3) >= 1) {
        if (prix.tient(0))
            attendre(attendues, 3, prix.texte(0, 0) + sep + prix.texte(0, 1), titre, IconeMessage::Aucune);
        avertir(3, prix, 1);
    } else {
        attendre(attendues, 3, QStringLiteral("Pas d'information de prix pour JLNL001"), titre,
                 IconeMessage::Aucune);
    }

    const Attente pec(l[4], 5);
    if (compte(4) >= 1) {
        if (pec.tient(0))
            attendre(attendues, 4,
                     pec.texte(0, 0) + sep + pec.texte(0, 2) + sep + pec.texte(0, 3) + sep + pec.texte(0, 4) +
                         sep + pec.texte(0, 1),
                     titre, IconeMessage::Aucune);
        avertir(4, pec, 1);
    }

    const Attente incomp(l[5], 3);
    if (const qint64 n = compte(5); n >= 1) {
        // Only the indices the array holds are walked: a huge count costs nothing.
        for (qint64 i = qMax<qint64>(0, l[5].borne); i < qMin<qint64>(n, qint64{l[5].borne} + l[5].nombre);
             ++i)
            if (incomp.tient(i))
                attendre(attendues, 5, incomp.texte(i, 0) + sep + incomp.texte(i, 1),
                         QStringLiteral("%1 Résultat(s)").arg(n), IconeMessage::Information);
        avertir(5, incomp, n);
    }

    const Attente assoc(l[6], 3);
    if (const qint64 n = compte(6); n >= 1) {
        for (qint64 i = qMax<qint64>(0, l[6].borne); i < qMin<qint64>(n, qint64{l[6].borne} + l[6].nombre);
             ++i)
            if (assoc.tient(i))
                attendre(attendues, 6, assoc.texte(i, 0) + sep + assoc.texte(i, 1),
                         QStringLiteral("Association %1 sur %2").arg(i + 1).arg(n),
                         IconeMessage::Information);
        avertir(6, assoc, n);
    }
    return attendues;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Loaded here first, so that the sequence's own load finds this very instance and its state.
    void* bibliotheque = dlopen(CHEMIN_TARVO_PROGRAMME, RTLD_NOW);
    exiger(bibliotheque != nullptr, "la bibliothèque programmable se charge");
    programmer = reinterpret_cast<FonctionProgrammer>(dlsym(bibliotheque, "FuzzTarvo_Programmer"));
    livraisons = reinterpret_cast<FonctionLivraisons>(dlsym(bibliotheque, "FuzzTarvo_Livraisons"));
    exiger(programmer != nullptr && livraisons != nullptr, "la bibliothèque programmable se commande");
    tarvo::definirCheminBibliotheque(QString::fromUtf8(CHEMIN_TARVO_PROGRAMME));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    Lecteur lecteur(donnees, taille);
    const ProgrammeTarvo programme = lireProgramme(lecteur);
    programmer(&programme);

    ServiceMessagesCompte messages;
    SourceContexteSequence source;
    source.dateReference = [] {
        return QStringLiteral("20240229");
    };
    source.grilleTarifaire = [] {
        return QStringLiteral("001");
    };
    source.apresAppel = [&messages](int etape, const QString&, qint32) {
        messages.etape = etape;
    };
    executerSequenceTarvo(messages, source, appelsTarvo());

    const Livraisons& l = *livraisons();
    for (int etape = 1; etape <= 7; ++etape)
        exiger(l[static_cast<std::size_t>(etape)].appelee, "les sept points d'entrée sont appelés");
    const QList<Boite> attendues = boitesAttendues(programme, l);
    exiger(messages.boites.size() == attendues.size(),
           "une boîte par enregistrement lu, un avertissement par manque");
    for (qsizetype i = 0; i < attendues.size(); ++i) {
        const Boite& vue = messages.boites[i];
        const Boite& attendue = attendues[i];
        exiger(vue.etape == attendue.etape && vue.icone == attendue.icone, "chaque boîte à son étape");
        if (attendue.icone == IconeMessage::Avertissement)
            exiger(!vue.texte.isEmpty(), "un avertissement nomme les indices manquants");
        else
            exiger(vue.texte == attendue.texte && vue.titre == attendue.titre,
                   "chaque boîte montre les textes de l'enregistrement livré");
    }
    return 0;
}
