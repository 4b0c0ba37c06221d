#include "dialog/printer_inf_dlg.h"
