#pragma once

// Shows a modal, ownerless "Velquist" message box with an OK button and returns
// once the user has dismissed it.
void ShowNotice(const char* pText);
