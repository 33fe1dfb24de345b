#pragma once

// What the document asks of its view: to show a location. The HTML view
// implements it; tests may put a recorder in its place.

#include <string>

namespace orvo::app {

class DocumentView {
public:
    virtual ~DocumentView();
    // Shows a path or URL (bytes as the file system names them), with no
    // flags, target frame, headers or post data.
    virtual void Navigate(const std::string& location) = 0;
};

} // namespace orvo::app
