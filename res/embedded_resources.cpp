// Hands the embedded compiled resource script to the layer before main runs.
#include "platform/core/resources.h"

extern "C" const BYTE ostrel_resource_image[];
extern "C" const BYTE ostrel_resource_image_end[];

namespace {

const bool installed = [] {
    layer::SetResourceImage(ostrel_resource_image,
                            static_cast<size_t>(ostrel_resource_image_end - ostrel_resource_image));
    return true;
}();

}  // namespace
