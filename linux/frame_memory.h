// The memory frames use, kept from one frame to the next.
#pragma once

// Every frame, the GL driver allocates and frees a few megabytes per draw
// of a large model. By default the C library gives freed memory at the top
// of the heap back to the kernel, and the next frame faults it in again,
// page by page: on a software GL that churn cost more than the drawing.
// Called once the model is read and the scene set up: it gives back what
// the read no longer needs, then keeps freed memory for later frames, ours
// and the driver's threads' alike.
void KeepFrameMemory();
