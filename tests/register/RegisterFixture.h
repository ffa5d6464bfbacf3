#pragma once
// A data folder ready for register work: company, paths and web addresses (the start-up check
// passes), the code tables of the movement window (TA05, TA20, T004, TA21C, TA21S), one company
// product, an excise row for Germany and a register protocol valid from 1 January 2020.
#include "support/Fakes.h"

namespace vt::test {

// ROSSO01: packaged still wine of 12,5 % vol, TA20 code W200-22042138-00-0000.
inline const QString kProduct = QStringLiteral("ROSSO01");
inline const QString kWine = QStringLiteral("W200-22042138-00-0000");

void prepareRegisterData(TestContext& t);

} // namespace vt::test
