# Writes the bash completion of corvane-cli from its own help: the command names listed under
# "Subcommands:" and the global options. Run as: cmake -DCLI=... -DOUT=... -P BashCompletion.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
string(REGEX REPLACE "\r" "" help "${help}")
string(REGEX MATCH "[Ss][Uu][Bb][Cc][Oo][Mm][Mm][Aa][Nn][Dd][Ss]:\n(.*)" tail "${help}")
set(commands "")
if(tail)
  string(REPLACE "\n" ";" lines "${CMAKE_MATCH_1}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^  ([a-z][a-z0-9-]*)")
      list(APPEND commands ${CMAKE_MATCH_1})
    endif()
  endforeach()
endif()
list(JOIN commands " " commands)
file(WRITE ${OUT} "# bash completion for corvane-cli (generated from its help)
_corvane_cli() {
  local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD-1]} i command=
  for ((i = 1; i < COMP_CWORD; i++)); do
    case \${COMP_WORDS[i]} in
      --inis|-m|--model) ((i++)) ;;
      -*) ;;
      *) command=\${COMP_WORDS[i]}; break ;;
    esac
  done
  case \$prev in
    --inis|-o|--output) COMPREPLY=($(compgen -f -- \"\$cur\")); return ;;
    -m|--model) COMPREPLY=($(compgen -W \"$(seq -s ' ' 1 27)\" -- \"\$cur\")); return ;;
  esac
  if [[ -z \$command ]]; then
    COMPREPLY=($(compgen -W \"${commands} --inis --help --version\" -- \"\$cur\"))
  elif [[ \$cur == -* ]]; then
    COMPREPLY=($(compgen -W \"\$(corvane-cli \$command --help 2>/dev/null | grep -oE -- '--?[a-zA-Z][a-zA-Z-]*' | sort -u)\" -- \"\$cur\"))
  else
    COMPREPLY=($(compgen -f -- \"\$cur\"))
  fi
}
complete -o filenames -F _corvane_cli corvane-cli
")
