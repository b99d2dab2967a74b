#include "lifetables/Unit_LifeTablesInterfaceUnit2.h"

#include "assessment/Program.h"
#include "assessment/Unit2.h"

void ShowSupplierForm() { program().Form2->showForm(); }
