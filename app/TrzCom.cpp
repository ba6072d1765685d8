// Card-operation wrappers: open, one command, close, show the outcome.
#include "app/TrzCom.h"

#include "app/Mainpanel_Main.h"
#include "cardlink/Vek_Com.h"
#include "panel/cardvalues.h"
#include "panel/comsession.h"
#include "errors/VEK_errorV3.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

namespace {

// One command between TrzCom_Oeffnen and TrzCom_Schliessen; every path ends closed, with the
// LED off and the outcome shown, whichever step failed. The outcome also tells the values
// shown from earlier answers whether they are still current.
template <typename Command> int exchange(CardQuestion question, Command command) {
    ExchangeScope scope;
    int port = 0;
    char adresse = 0;
    int code = TrzCom_Oeffnen(&port, &adresse);
    if (code == 0)
        code = command(vekComSession(), adresse);
    TrzCom_Schliessen(code);
    // TrzCom_Oeffnen names the chosen port also when it would not open.
    cardValuesAfterExchange(question, code, port, VekCom_AdresseGet());
    return code;
}

} // namespace

int TrzCom_Oeffnen(int *port, char *adresse) {
    int opened = 0;
    int code = VekCom_OpenChosen(&opened);
    if (port)
        *port = opened;
    if (code != 0)
        return code;
    if (opened == 0)
        return trzcom::kErrNotOpen;
    if (adresse)
        *adresse = VekCom_AdresseGet();
    SetCtrlVal(Mainpanel_GetMainpanel(), COMAKTIVLED, 1);
    return 0;
}

int TrzCom_Schliessen(int code) {
    VekCom_Close();
    SetCtrlVal(Mainpanel_GetMainpanel(), COMAKTIVLED, 0);
    VekCom_FehlermeldungSet(code);
    return 0;
}

int TrzCom_StatusLesen(int *status) {
    return exchange(CardQuestion::Status, [status](CardSession &session, char adresse) {
        return session.status(adresse, status);
    });
}

int TrzCom_KartennummerLesen(char *kartennummer) {
    return exchange(CardQuestion::CardNumberRead,
                    [kartennummer](CardSession &session, char adresse) {
                        return session.readCardNumber(adresse, kartennummer);
                    });
}

int TrzCom_KartennummerSchreiben(char kartennummer) {
    return exchange(CardQuestion::CardNumberWrite,
                    [kartennummer](CardSession &session, char adresse) {
                        return session.writeCardNumber(adresse, kartennummer);
                    });
}
