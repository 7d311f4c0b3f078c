// Identifiers shared by the dialog template and the dialog procedure.
#pragma once

#define IDC_RUN 3
#define IDC_PROGRAM_LIST 1000
#define IDC_PATH_LABEL 1001
#define IDB_LOGO 102
