<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="EVALUATE_ID" fieldtype="r8"/>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="ITEM" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CONTENTS" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="RESULT" fieldtype="bin.hex" SUBTYPE="Text"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
