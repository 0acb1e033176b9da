#pragma once
// The window messages child programs post to the main window, registered by name once.

namespace zar {

struct RegisteredMessages {
    unsigned databaseSize;      // "WM_DATABASE_SIZE"
    unsigned dravelMSProgress;  // "ZV_DRAVELMS_PROGRESS"
    unsigned dravelMSnProgress; // "ZV_DRAVELMSN_PROGRESS"
    unsigned massmapProgress;   // "ZV_MASSMAP_PROGRESS"
    unsigned sorvexProgress;    // "ZV_SORVEX_PROGRESS"
};

// Registers the five names in their order on first use.
const RegisteredMessages& ProgramMessages();

}  // namespace zar
