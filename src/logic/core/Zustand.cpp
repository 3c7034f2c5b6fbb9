#include "core/Zustand.h"

void Zustand::AktQsoLeeren()
{
    AktQSO = QsoDaten();
    AdifRecordIndex = 0;
    AktQsoKorrigiert = {};
    AktQsoDatei.clear();
    AktQsoSatz.clear();
}
