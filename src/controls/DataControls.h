#pragma once

// Every data-bound control, for the windows.
#include "DBComboBox.h"
#include "DBEdit.h"
#include "DBGrid.h"
#include "DBImage.h"
#include "DBLookupComboBox.h"
#include "DBMemo.h"
#include "DBNavigator.h"
#include "DBRadioGroup.h"
