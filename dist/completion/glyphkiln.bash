# bash completion for glyphkiln.
# The options and which of them take a value are read from the program's own
# `--help`, so the completion follows the program without being edited; only
# the choices of a few values are known here.

_glyphkiln_help_options() {
  # Lines of the option table: two spaces, the option, then either a value
  # name after one space or the description after several.
  "$1" --help 2>/dev/null | sed -n "s/^  \(-[^ ]*\)$2.*/\1/p"
}

_glyphkiln_files() {
  # Files matching the pattern, and directories to walk into.
  local IFS=$'\n' extglob
  extglob=$(shopt -p extglob)
  shopt -s extglob
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -f -X "!$1" -- "$cur") $(compgen -d -- "$cur"))
  eval "$extglob"
}

_glyphkiln() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  # --option=value arrives as three words when '=' breaks words.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi
  COMPREPLY=()

  local valued
  valued=" $(_glyphkiln_help_options "$program" ' [^ ]' | tr '\n' ' ') "
  if [[ $valued == *" $prev "* ]]; then
    local IFS=$'\n'
    case $prev in
      --font)
        local families
        families=$(fc-list --format '%{family[0]}\n' 2>/dev/null | sort -u)
        COMPREPLY=($(compgen -W "$families" -- "$cur"))
        COMPREPLY=("${COMPREPLY[@]// /\\ }")
        ;;
      --font-file) _glyphkiln_files '*.@(ttf|TTF|otf|OTF|ttc|TTC)' ;;
      -o) _glyphkiln_files '*.@(wrl|WRL)' ;;
      --gif) _glyphkiln_files '*.@(gif|GIF)' ;;
      --png) _glyphkiln_files '*.@(png|PNG)' ;;
      --bevel-shape) COMPREPLY=($(compgen -W $'0\n1\n2\n3\n4' -- "$cur")) ;;
      --bevel-size) COMPREPLY=($(compgen -W $'0\n1\n2' -- "$cur")) ;;
      --light) COMPREPLY=($(compgen -W $'front,right\nfront,left\nback,right\nback,left' -- "$cur")) ;;
      --size) COMPREPLY=($(compgen -W $'640x480\n800x600\n320x240' -- "$cur")) ;;
    esac
    return 0
  fi

  if [[ $cur == -* ]]; then
    local IFS=$'\n'
    COMPREPLY=($(compgen -W "$(_glyphkiln_help_options "$program" '')" -- "$cur"))
  fi
  return 0
}

complete -F _glyphkiln glyphkiln
