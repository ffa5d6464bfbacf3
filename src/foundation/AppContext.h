#pragma once
// The shared state that menu actions hand to the windows they open, and the injected services.
// main.cpp creates one and hands it by reference to every window; a test builds its own over a
// temporary folder.
#include <QString>

#include <cstdint>
#include <functional>

#include "foundation/CompanyRecord.h"
#include "foundation/Services.h"
#include "foundation/TableRecord.h"
#include "foundation/EadRecord.h"
#include "foundation/Transmission.h"

namespace vt {

class CustomsService;

struct Services {
    Messenger& messenger;
    Clock& clock;
    Shell& shell;
    FileDialogs& fileDialogs;
};

struct AppContext {
    explicit AppContext(Services s) : services(s) {}

    Services services;
    Messenger& messenger() const { return services.messenger; }
    Clock& clock() const { return services.clock; }
    Shell& shell() const { return services.shell; }
    FileDialogs& fileDialogs() const { return services.fileDialogs; }

    // Folders (set at start-up).
    QString StartFolder;
    QString TempFolder;
    QString DatiGenFolder;
    QString RegistriFolder;
    int ScreenWidthLimit = 0;
    int ScreenHeightLimit = 0;

    // Set by actions and pickers.
    int ActionTag = 0;
    QChar OpCode = QLatin1Char(' ');
    bool FromMenu = false;
    bool ModifyMode = false;
    bool LoadSide = false;
    bool FromEad = false;
    bool RectifyModify = false;
    bool RectifyCancel = false;
    QString WorkYear;
    QString SelectedYear;
    std::int32_t PickedEad = -1;
    std::int32_t PickedMovement = -1;
    std::int32_t PickedCode = -1;
    bool NewCodeMode = false;
    QString TableName;

    // Shared record buffers.
    TRecAzienda CurrentAddress = blankCompany();
    TRecAzienda CompanyRecord = blankCompany();
    QString AddressFile; // name of the address file an address window works on

    // Table engine buffers.
    TRecTabella SearchRow = blankRecord<TRecTabella>();
    TRecTabella FoundRow = blankRecord<TRecTabella>();
    TRecTabella EditRow = blankRecord<TRecTabella>();

    // Configuration (APPL.CFG, WEB.CFG), loaded by the start-up check.
    TRecTabella AppConfig = blankRecord<TRecTabella>();
    TRecTabella WebConfig = blankRecord<TRecTabella>();

    // Further shared buffers are added below by the subsystems that own them.

    // e-AD messages: the e-AD header in hand (in a report of receipt: the received e-AD), the old
    // header kept while an e-AD is modified, and the message record (cancellation, change of
    // destination, report of receipt).
    TRecEad EadHeader = blankEad();
    TRecEad OldEad = blankEad();
    TRecEad MessageRecord = blankEad();
    // Set while "Duplica e-AD" opens the compilation: a new e-AD filled from EadHeader.
    bool DuplicateEad = false;

    // Main-window sequences: the address read buffer of the address-pick search (the modify and
    // delete address windows take their record from it) and the movement record buffer (the
    // 520-byte register record picked for the movement and guarantee windows, as stored).
    TRecIndirizzo FoundAddress = blankCompany();
    QByteArray MovementRecord = QByteArray(520, '\0');

    // Signing hand-off and transmission of flows.
    Transmission Transmit;            // the flow in hand and its result
    bool LastPutReal = false;         // environment of the last put since start ("Interroga E.D.I.")
    CustomsService* Customs = nullptr; // the customs file service; none: the gSOAP client
    QString CustomsCaFile;            // a CA trusted besides the system store (tests); empty: none

    // A short note for the main window's status bar: a confirmation has written the user's data
    // (reportSaved(): "Dati salvati"), a flow was left in the folder of files to sign. The main
    // window listens.
    std::function<void(const QString&)> NoteListener;
    void reportNote(const QString& text) const
    {
        if (NoteListener)
            NoteListener(text);
    }
    void reportSaved() const { reportNote(QStringLiteral("Dati salvati")); }

    // Paths inside the data folders.
    QString datiGen(const QString& name) const;
    QString registri(const QString& name) const;
    QString temp(const QString& name) const;

    // Sets the folders below startFolder (and the temporary folder) and creates the missing ones.
    // Throws IoError when one cannot be created.
    void setFolders(const QString& startFolder, const QString& tempFolder);
    static QString defaultTempFolder();
};

} // namespace vt
