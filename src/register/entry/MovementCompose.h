#pragma once
// The confirmation of the movement window, without widgets: from what the fields show, the
// checks in their fixed order and the record N they compose. Some checks let the sequence go on
// (the rectification note, the package fields, the guarantee amount), but nothing is written
// while any of them fails.
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

#include "register/entry/MovementEntry.h"

namespace vt {

struct AppContext;

// What the fields show at the moment of confirming (codes already looked up by the window).
struct MovementFields {
    QDate DATMOV;
    QString TIPDOC;
    bool tipdocFound = false;
    QString NUMDOC;
    bool numdocHidden = false;
    QString NPRDAA;
    QDate DATDOC;
    QString NILODD;
    QString NUMCPR;
    QString PRODAZ;
    bool prodazFound = true;
    QString TIPSTO;
    QString PRODDO;
    bool proddoFound = false;
    QString NUMCON;
    QString DOUBL3;
    QString DOUBL2;
    QString DOUBL1;
    QString CODPAE;
    bool codpaeFound = false;
    QString DOUBL5;
    QString MITDES;
    QString CAUMOV;
    bool caumovFound = false;
    QString ANNOTA;
};

struct Composition {
    bool ok = false;             // every check passed: record may be written
    QStringList messages;        // to show, in order
    QString focus;               // field that gets the focus when not ok
    std::optional<QString> MITDES; // the counterpart field rewritten (DESTINAZIONE IGNOTA)
    QString DMITDES;             // its description
    TRecMovimento record;        // N
};

// Runs the checks of the confirmation on the fields; old is O (modify, rectification, prepared).
Composition composeMovement(AppContext& ctx, MovementMode mode, const TRecMovimento& old, bool loadSide,
                            const MovementFields& f);

} // namespace vt
