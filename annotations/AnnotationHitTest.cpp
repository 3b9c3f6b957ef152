#include "annotations/AnnotationHitTest.h"

#include "annotations/AnnotationValues.h"

DeviceCorners annotationBox(const JsonDocument &entry, const PageToDeviceFn &toDevice) {
    const JsonDocument &point = memberAt(entry, "point");
    return {toDevice(numberAt(point, "left"), numberAt(point, "top")),
            toDevice(numberAt(point, "right"), numberAt(point, "bottom"))};
}

int annotationAt(const JsonDocument &document, int pageIndex, const QPoint &at,
                 const PageToDeviceFn &toDevice) {
    const JsonDocument &entries = memberAt(document, "data");
    if (!entries.is_array())
        return -1;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const JsonDocument &entry = entries[k];
        if (integerAt(entry, "page") != pageIndex)
            continue;
        const auto [p1, p2] = annotationBox(entry, toDevice);
        if (p1.x() <= at.x() && at.x() <= p2.x() && p1.y() <= at.y() && at.y() <= p2.y())
            return static_cast<int>(k);
    }
    return -1;
}
