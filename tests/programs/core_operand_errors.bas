rem The session in core_operand_errors.cmd types its statements one by one.
