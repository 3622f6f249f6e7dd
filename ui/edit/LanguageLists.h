#pragma once

#include <QString>

class QComboBox;
class TQVL;

// Fills `home` and `foreign` with the installed language profiles (shown by
// their language names, the item data is the language code) and selects
// `homeCode` and `foreignCode`; without them the home language of the
// options and English, or else the first other language.
void FillLanguageLists(const TQVL& core, QComboBox* home, QComboBox* foreign, const QString& homeCode = {},
                       const QString& foreignCode = {});
