// The card session of the COM-port manager (cardlink/Vek_Com.h): the port that VekCom_Open
// opened, until VekCom_Close. The card operations send their command through it, so that they
// talk over the port the manager opened and no other.
#pragma once

#include "cardlink/cardsession.h"

CardSession &vekComSession();
