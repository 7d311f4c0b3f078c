# i386 Linux programs, such as Debian's 32-bit Wine, on this machine. Source
# it from the repository's top folder; it only defines functions.
#
# Where the kernel runs 32-bit code they run natively. Where it does not
# (IA32 emulation off with ia32_emulation=0, or a virtual machine without
# 32-bit user mode), scripts/setup registers qemu's user-mode emulator in
# binfmt_misc for them. The kernel asks binfmt_misc before its own loader, so
# once an i386 registration is enabled, every i386 program runs through it.

BINFMT_MISC=/proc/sys/fs/binfmt_misc

# Prints the file of the enabled binfmt_misc registration for i386 ELF
# programs; fails when there is none.
I386Registration() {
  local entry magic
  for entry in "$BINFMT_MISC"/*; do
    [[ -f "$entry" && ${entry##*/} != register && ${entry##*/} != status ]] || continue
    grep -qx enabled "$entry" 2>/dev/null || continue
    magic=$(sed -n 's/^magic //p' "$entry")
    # ELF, 32-bit class, and e_machine (bytes 18 and 19) EM_386.
    if [[ $magic == 7f454c4601* && ${magic:36:4} == 0300 ]]; then
      echo "$entry"
      return 0
    fi
  done
  return 1
}

# The version a qemu program reports ("10.0.2"); empty for anything else.
QemuVersion() {
  timeout 10 "$1" --version 2>/dev/null | sed -n '1s/^qemu-.* version \([0-9][0-9.]*\).*/\1/p' || true
}

# Before 8.1, qemu-user searched its guest address space page by page when it
# mapped memory: a 32-bit Wine program then needs about a minute to start.
IsQemuFastEnough() {
  [[ -n "$1" ]] && dpkg --compare-versions "$1" ge 8.1
}

# One line on how i386 programs run here, for the logs of test, demo and
# bench; it also exports LAUNCHER_32BIT (native or emulated), which the
# benchmark programs read.
Say32BitPrograms() {
  local entry interpreter
  if entry=$(I386Registration); then
    interpreter=$(sed -n 's/^interpreter //p' "$entry")
    export LAUNCHER_32BIT=emulated
    echo "32-bit programs: emulated, ${interpreter##*/} $(QemuVersion "$interpreter") (binfmt_misc: ${entry##*/})"
  else
    export LAUNCHER_32BIT=native
    echo "32-bit programs: native"
  fi
}
