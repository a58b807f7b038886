# Beside the built test agent: its SHA-256 as CMake computes it (a second, independent hasher
# for the tests to compare with), and a copy signed with a certificate made here, so the tests
# can ask the system's signature check about a signature that chains to no trusted root.
# Where osslsigncode or openssl is missing, a note with the reason takes the copy's place.
#   cmake -DAGENT=<exe> -DOSSLSIGNCODE=<path or empty> -DOPENSSL=<path or empty>
#         -DSIGNER=<common name> -P TestAgentCopies.cmake

get_filename_component(dir "${AGENT}" DIRECTORY)
get_filename_component(stem "${AGENT}" NAME_WE)
file(SHA256 "${AGENT}" hash)
file(WRITE "${dir}/${stem}.sha256" "${hash}\n")

set(signed "${dir}/${stem}_signed.exe")
set(note "${dir}/${stem}_signed.skip")
file(REMOVE "${signed}" "${note}")

if(NOT OSSLSIGNCODE OR NOT OPENSSL)
  file(WRITE "${note}" "osslsigncode or openssl was not found when the tests were built\n")
  return()
endif()

set(keys "${dir}/agent-signing")
file(MAKE_DIRECTORY "${keys}")
if(NOT EXISTS "${keys}/cert.pem" OR NOT EXISTS "${keys}/key.pem")
  execute_process(
    COMMAND "${OPENSSL}" req -x509 -newkey rsa:2048 -nodes -keyout "${keys}/key.pem"
            -out "${keys}/cert.pem" -days 3650 -subj "/CN=${SIGNER}"
            -addext "extendedKeyUsage=codeSigning"
    RESULT_VARIABLE made OUTPUT_QUIET ERROR_VARIABLE made_errors)
  if(NOT made EQUAL 0)
    file(WRITE "${note}" "openssl could not make a certificate: ${made_errors}\n")
    return()
  endif()
endif()
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign -certs "${keys}/cert.pem" -key "${keys}/key.pem"
          -n "Zorvik test agent" -in "${AGENT}" -out "${signed}"
  RESULT_VARIABLE signed_result OUTPUT_QUIET ERROR_VARIABLE sign_errors)
if(NOT signed_result EQUAL 0)
  file(REMOVE "${signed}")
  file(WRITE "${note}" "osslsigncode could not sign the agent: ${sign_errors}\n")
endif()
