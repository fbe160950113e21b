#pragma once
// The capture file name dialog (136): one field holding the stem numbered files start with.
// OK with an empty field (or a name with a folder separator) says "Enter a file name." and
// keeps the dialog open.
#include "framework/Dialog.h"

#include <string>

namespace kelto::viewer::capturesheet {

class CCaptureFileNameDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 136;
    static constexpr int kNameEdit = 1049;
    static constexpr int kEmptyNameString = 174;

    explicit CCaptureFileNameDlg(const std::string& stem, QWidget* parent = nullptr);

    // The stem as entered (after OK).
    std::string stem() const;
};

}  // namespace kelto::viewer::capturesheet
