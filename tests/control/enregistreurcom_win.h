#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <oaidl.h>
#include <windows.h>

// A COM object of the tests' own, created by ProgID like a real control: it records every Invoke it receives
// (identifier, flags, named arguments, each argument's type and value) and answers from a table. Registered
// for this process only (class object plus ProgID in the registry) while an instance of Inscription lives.
namespace EnregistreurCom {

// Answers by dispatch identifier: a QString, int, double, float or bool becomes the matching VARIANT, a null
// QVariant::fromValue(nullptr) VT_NULL, nothing VT_EMPTY.
struct Reponses
{
    QHash<DISPID, QVariant> valeurs;
    // Raised as DISP_E_EXCEPTION when echecs holds the identifier with a non-zero scode or wCode.
    struct Exception
    {
        HRESULT resultat = DISP_E_EXCEPTION;
        SCODE scode = 0;
        WORD wCode = 0;
        QString description;
    };
    QHash<DISPID, Exception> echecs;
    // What a by-reference argument is replaced with.
    QHash<DISPID, QVariant> parReference;
};

// "PUT 0x4003001D [PROPERTYPUT] VT_I4 0", "PUT 0x4003001E [PROPERTYPUT] VT_BYREF|VT_I4 6",
// "METHOD|GET 0x4003001F", and the container's "SetClientSite", "DoVerb(-5)", "Close",
// "SetClientSite(null)".
QStringList& journal();
Reponses& reponses();
// The client site the last instance received, or null.
IOleClientSite* site();

class Inscription
{
public:
    explicit Inscription(const QString& progId);
    ~Inscription();
    bool reussie() const { return m_reussie; }

private:
    HRESULT m_com;
    QString m_progId;
    DWORD m_cookie = 0;
    bool m_reussie = false;
};

} // namespace EnregistreurCom
