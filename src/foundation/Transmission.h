#pragma once
// The flow being handed to the signing program and transmitted, and what its transmission gave.
#include <QString>

#include <functional>

namespace vt {

// Flow kinds: the window that builds the flow sets it before the transmission window opens.
enum class FlowKind { IE815, IE810, IE813, IE818, Register };

struct Transmission {
    FlowKind kind = FlowKind::IE815;
    QString flowName;                 // 12 characters, e.g. ABCD1209.C03

    // Filled by the transmission window; read by the flow window once it has closed.
    bool signedSeen = false;          // the signed file appeared
    bool abandoned = false;           // the user left the window with "&Abbandona"
    bool realSendDone = false;        // a real put succeeded
    bool positiveRealOutcome = false; // the real environment accepted the flow
    QString arc;                      // IE815 only: the ARC given by the real environment (21 characters)

    // Set by the flow window when a positive real outcome changes its data: called by the
    // transmission window as soon as the outcome arrives, so that an accepted flow is recorded
    // even if the window is abandoned or the program stops before it closes. Throws IoError.
    std::function<void(const QString& arc)> storeOutcome;
    bool outcomeStored = false;       // storeOutcome succeeded for the outcome in hand
};

} // namespace vt
