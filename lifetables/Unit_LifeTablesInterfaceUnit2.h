#pragma once
// The life-table screen's link to the data-supplier screen.

// Shows the data-supplier screen non-modally.
void ShowSupplierForm();
