// The answer of put: the file was taken in charge only when "successo" stands as a word.
#include <gtest/gtest.h>

#include "messages/transmission/Transmission.h"
#include "support/FakeCustoms.h"

using namespace vt;

TEST(Transmission, PutSucceedsOnlyWhenSuccessoIsAWord)
{
    struct Case {
        const char* answer;
        bool succeeded;
    };
    for (const Case& c : {Case{"File ricevuto con successo", true},
                          Case{"successo", true},
                          Case{"Operazione eseguita con SUCCESSO.", true},
                          Case{"Esito: successo; file in elaborazione", true},
                          Case{"Invio concluso con insuccesso", false},
                          Case{"INSUCCESSO dell'operazione", false},
                          Case{"successone", false},
                          Case{"File rifiutato", false},
                          Case{"", false}}) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(transmit::takenInCharge(c.answer), c.succeeded);
        test::FakeCustomsService service;
        service.putAnswer = c.answer;
        const transmit::PutResult r = transmit::put(service, CustomsEndpoint{}, "FIRMATO", "ABCD1209.C03.p7m");
        EXPECT_EQ(r.succeeded, c.succeeded);
        EXPECT_EQ(r.answer, c.answer);
        EXPECT_FALSE(r.connectionFailed);
    }
}
