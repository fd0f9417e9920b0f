/* uint32_t __cdecl QuarvenCallMeasured(const void* fn, const uint32_t* args,
 *                                      uint32_t count, int32_t* removed);
 * 32-bit x86 only (mingw: C names carry a leading underscore). Pushes args[count-1]
 * .. args[0], calls fn, and stores in *removed the number of bytes by which ESP
 * rose across the call: 4*count for a __stdcall callee, 0 for a __cdecl one. The
 * frame pointer puts ESP back afterwards, whatever the callee did. */
        .text
        .globl  _QuarvenCallMeasured
        .def    _QuarvenCallMeasured; .scl 2; .type 32; .endef
_QuarvenCallMeasured:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    12(%ebp), %esi          /* args */
        movl    16(%ebp), %ecx          /* count */
1:      testl   %ecx, %ecx
        jz      2f
        pushl   -4(%esi,%ecx,4)
        decl    %ecx
        jmp     1b
2:      movl    %esp, %ebx              /* ESP with the arguments pushed; EBX survives calls */
        call    *8(%ebp)
        movl    %esp, %ecx
        subl    %ebx, %ecx              /* bytes the callee removed */
        movl    20(%ebp), %edx
        movl    %ecx, (%edx)
        leal    -12(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
